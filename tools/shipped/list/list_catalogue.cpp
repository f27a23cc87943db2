// tavolin-list's catalogue commands: adding discs read as a listing reads
// them, finding stored tracks, and listing a stored disc through the same
// printing as a recorder's.
#include <cstdio>
#include <string>
#include <vector>

#include "catalogue/catalogue.h"
#include "catalogue/catalogue_path.h"
#include "catalogue/found_rows.h"
#include "list_core.h"
#include "listing/listing_builder.h"
#include "text/hms.h"

namespace {

const char* const ADD_RESULT_WORDS[] = {"added", "updated", "unchanged"};

// The number in an index's name (TRKIDXnn.HMA), as the recorder writes it in
// hexadecimal; 0 when the name carries none.
uint32_t GenerationOf(const std::string& indexName) {
    uint32_t n = 0;
    size_t digits = 0;
    for (size_t i = 6; i < indexName.size() && indexName[i] != '.' && digits < 8; ++i, ++digits) {
        const char c = indexName[i];
        const int v = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
        if (v < 0) return 0;
        n = n * 16 + uint32_t(v);
    }
    return n;
}

uint32_t GroupCountOfListing() {
    ComposedListing groups;
    if (!ComposeListing(gCatalogue, GROUP_LISTING, groups)) return 0;
    const uint32_t n = groups.count;
    ReleaseListing(groups);
    return n;
}

int AddDiscs(Catalogue& c, const ListOptions& options, FILE* out, FILE* err) {
    int status = LIST_OK;
    for (const std::string& path : options.paths) {
        ReadDisc disc;
        std::string error;
        if (!ReadDiscAt(path, disc, error)) {
            std::fflush(out);
            std::fprintf(err, "tavolin-list: %s\n", error.c_str());
            status = LIST_FAILED;
            continue;
        }
        char key[DISC_KEY_SIZE];
        const bool isDerived = !DiscKeyFromIdentity(disc.facts.identity, key);
        if (isDerived) DiscKeyFromImage(disc.image.data(), disc.image.size() - INDEX_IMAGE_PADDING, key);
        StoredDiscInfo info{key, isDerived, disc.facts.title.c_str(), GenerationOf(disc.facts.indexName),
                            path.c_str(), GroupCountOfListing()};
        info.indexName = disc.facts.indexName.c_str();
        info.hasTitleCell = disc.facts.hasTitle;
        const AddOutcome added = AddDisc(c, info, gCatalogue.records, gCatalogue.count);
        if (added.result == AddResult::FAILED) {
            std::fflush(out);
            std::fprintf(err, "tavolin-list: %s: %s\n", path.c_str(), added.message.c_str());
            status = LIST_FAILED;
            continue;
        }
        std::fprintf(out, "%s\t%s\t%u tracks\t%s\n", ADD_RESULT_WORDS[int(added.result)], disc.facts.title.c_str(),
                     gCatalogue.count, key);
    }
    return status;
}

// A text as one field of a tab-separated line: tabs and line breaks (a
// hostile disc may hold them) become spaces; anything else stays as listed.
std::string Tabbed(const char* text) {
    std::string field = text;
    for (char& c : field)
        if (c == '\t' || c == '\r' || c == '\n') c = ' ';
    return field;
}

// A stored key of 32 hexadecimal digits back as the identity it was made of.
DiscIdentity IdentityOfKey(const std::string& key) {
    DiscIdentity identity{};
    if (!IsDiscKey(key.c_str())) return identity;
    auto digit = [](char c) { return c <= '9' ? c - '0' : c - 'a' + 10; };
    for (size_t i = 0; i < DISC_IDENTITY_SIZE; ++i)
        identity.bytes[i] = uint8_t(digit(key[2 * i]) * 16 + digit(key[2 * i + 1]));
    identity.isKnown = true;
    return identity;
}

int FindStoredTracks(Catalogue& c, const ListOptions& options, FILE* out, FILE* err) {
    const bool isCsv = options.output == ListOutput::CSV;
    const FormatSettings lengthOnly = CsvLengthSettings(gFormatSettings);
    if (isCsv) PrintCsvHeader("disc_title", out);
    const CatalogueStatus found = FindTracks(c, options.commandValue, [&](const FoundTrack& t) {
        if (isCsv) {
            // disc_id is the key the disc is stored under, which --disc takes.
            PrintCsvRow(t.track, lengthOnly, t.discKey, t.discTitle, out);
        } else {
            std::fprintf(out, "%s\t%s\n", Tabbed(t.discTitle).c_str(), Tabbed(t.track.displayLine).c_str());
        }
        return !std::ferror(out);
    });
    if (found.ok) return LIST_OK;
    std::fprintf(err, "tavolin-list: %s\n", found.message.c_str());
    return LIST_FAILED;
}

int ListStoredDiscs(Catalogue& c, const ListOptions& options, FILE* out, FILE* err) {
    std::vector<StoredDisc> discs;
    const CatalogueStatus listed = ListDiscs(c, discs);
    if (!listed.ok) {
        std::fprintf(err, "tavolin-list: %s\n", listed.message.c_str());
        return LIST_FAILED;
    }
    const bool isCsv = options.output == ListOutput::CSV;
    if (isCsv) std::fputs("disc_id,title,tracks,seconds,length,last_updated\r\n", out);
    for (const StoredDisc& d : discs) {
        char length[HMS_TEXT_SIZE];
        FormatHms(float(d.totalLength), gFormatSettings.roundLengths, length, sizeof length);
        if (isCsv)
            std::fprintf(out, "%s,%s,%u,%.3f,%s,%s\r\n", d.key.c_str(), CsvText(d.title.c_str()).c_str(),
                         d.trackCount, d.totalLength, length, d.lastUpdated.c_str());
        else
            std::fprintf(out, "%s\t%s\t%u tracks\t%s\t%s\n", d.key.c_str(), Tabbed(d.title.c_str()).c_str(),
                         d.trackCount, length, d.lastUpdated.c_str());
    }
    return LIST_OK;
}

// The stored disc back in the listing's records, with what a listing says
// of it: the same printing then gives the recorder's bytes.
bool LoadStoredDisc(Catalogue& c, const StoredDisc& d, DiscFacts& facts, std::string& error) {
    std::vector<TrackRecord> tracks;
    const CatalogueStatus loaded = LoadDiscTracks(c, d.id, tracks);
    if (!loaded.ok) {
        error = loaded.message;
        return false;
    }
    ClearCatalogue();
    for (const TrackRecord& t : tracks) {
        TrackReport report{t.displayLine, t.artist, t.album, t.title, t.trackNumber, &t.trackLength,
                           int32_t(t.bitrate), t.groupName, t.slot, t.recorded};
        AppendTrack(report);
    }
    facts.title = d.title;
    // A disc with a title cell lists its title line, an empty one too.
    facts.hasTitle = d.hasTitle;
    facts.identity = d.isKeyDerived ? DiscIdentity{} : IdentityOfKey(d.key);
    facts.indexName = d.indexName;
    return true;
}

}  // namespace

int RunCatalogueCommand(const ListOptions& options, FILE* out, FILE* err, const char* appData) {
    const std::string path =
        options.cataloguePath.empty() ? DefaultCataloguePath(CataloguePlaceHere(appData)) : options.cataloguePath;
    if (path.empty()) {
        std::fprintf(err, "tavolin-list: no place for the catalogue (no %s); name one with --catalogue FILE\n",
                     appData ? "APPDATA" : "HOME");
        return LIST_FAILED;
    }
    const bool isWrite = options.command == CatalogueCommand::ADD || options.command == CatalogueCommand::REMOVE;
    Catalogue c;
    const CatalogueOpenResult opened = OpenCatalogue(path, isWrite ? CatalogueMode::WRITE : CatalogueMode::READ, c);
    if (!opened.isOpen) {
        std::fprintf(err, "tavolin-list: %s\n", opened.message.c_str());
        return LIST_FAILED;
    }
    int status = LIST_OK;
    switch (options.command) {
    case CatalogueCommand::ADD: status = AddDiscs(c, options, out, err); break;
    case CatalogueCommand::FIND: status = FindStoredTracks(c, options, out, err); break;
    case CatalogueCommand::DISCS: status = ListStoredDiscs(c, options, out, err); break;
    case CatalogueCommand::DISC:
    case CatalogueCommand::REMOVE: {
        StoredDisc disc;
        CatalogueStatus found = FindDisc(c, options.commandValue, disc);
        std::string error = found.message;
        DiscFacts facts;
        if (found.ok && options.command == CatalogueCommand::REMOVE) {
            found = RemoveDisc(c, disc.id);
            error = found.message;
            if (found.ok) std::fprintf(out, "removed\t%s\t%s\n", disc.title.c_str(), disc.key.c_str());
        } else if (found.ok && LoadStoredDisc(c, disc, facts, error)) {
            if (!PrintListedDisc(facts, options, out)) {
                found.ok = false;
                error = "out of memory";
            }
        } else {
            found.ok = false;
        }
        if (!found.ok) {
            std::fprintf(err, "tavolin-list: %s\n", error.c_str());
            status = LIST_FAILED;
        }
        break;
    }
    case CatalogueCommand::NONE: break;
    }
    if (std::fflush(out) != 0 || std::ferror(out)) {
        std::fprintf(err, "tavolin-list: could not write the output\n");
        status = LIST_FAILED;
    }
    return status;
}
