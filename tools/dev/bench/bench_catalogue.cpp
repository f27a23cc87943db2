// The catalogue's figures on a file of generated discs (36 tracks each, texts
// in every script the program shows): adding each disc as tavolin-list adds
// a copied recorder folder (the read included), a search as the catalogue
// window makes it at each keystroke (the count and the visible page),
// showing one disc, and the file's size per track.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "bench_cases.h"
#include "catalogue/catalogue.h"
#include "index/scan_walk.h"
#include "text/utf8.h"
#include "tools/lib/index_image/index_image_builder.h"
#include "tools/shipped/list/folder_access.h"
#include "tools/shipped/list/list_core.h"

namespace {
constexpr uint32_t TRACKS_PER_DISC = 36;
constexpr uint64_t FIND_PAGE = 40;      // the rows the window's result list shows at once
constexpr int ARTISTS = 160;            // shared among the discs: most have several
constexpr int ALBUMS = 700;             // fewer than the discs: some albums are on two
constexpr int STRESS_PERCENT = 30;      // tracks whose title holds the stress word
constexpr const char* STRESS_WORD = "Love";

// Words of each script the program shows; the generator draws titles from
// one script per disc, as a disc of one language has.
const std::vector<std::vector<const char*>> SCRIPTS = {
    {"Morning", "River", "Light", "Shadow", "Garden", "Winter", "Summer", "Dance", "Night", "Ocean", "Stone",
     "Silver", "Golden", "Fire", "Rain", "Wind", "Dream", "Mirror", "Island", "Road", "Letter", "Harbour",
     "Forest", "Thunder", "Paper", "Velvet", "Electric", "Midnight", "Coffee", "Station"},
    {"Café", "Señora", "Ça", "Noël", "Été", "Corazón", "Mañana", "Über", "Straße", "Øresund", "Fjäril", "Kärlek",
     "Château", "Rêve", "Lumière", "Canção", "Saudade", "Nuit", "Étoile", "Jardín", "Mädchen", "Grüße",
     "Hjärta", "Besançon", "Ångström", "Zoë", "Forêt", "Fiesta", "Pequeño", "Dolce"},
    {"東京", "夜明け", "さくら", "カタカナ", "漢字", "海辺", "星空", "雨の日", "花火", "約束", "青い鳥", "月光",
     "風の歌", "夏祭り", "ひかり", "ふるさと", "涙", "未来", "夢の中", "白い雪", "恋人", "心", "旅人", "秋桜",
     "坂道", "電車", "子守唄", "手紙", "交差点", "朝焼け"},
    {"Καλημέρα", "Θάλασσα", "Ἀθῆναι", "Αγάπη", "Ουρανός", "Νύχτα", "Ήλιος", "Φεγγάρι", "Καρδιά", "Όνειρο",
     "Ταξίδι", "Βροχή", "Άνεμος", "Λουλούδι", "Σπίτι", "Δρόμος", "Φως", "Χορός", "Τραγούδι", "Μέλι"},
    {"Москва", "Зима", "Ночь", "Река", "Весна", "Любовь", "Звезда", "Дорога", "Солнце", "Ветер", "Песня",
     "Город", "Берёза", "Снег", "Мечта", "Огонь", "Небо", "Осень", "Сердце", "Утро"},
    {"Łódź", "Kraków", "Gdańsk", "Źródło", "Żółw", "Miłość", "Jesień", "Słońce", "Księżyc", "Wiśnia", "Pieśń",
     "Dziękuję", "Zażółć", "Gęślą", "Jaźń", "Świt", "Wrocław", "Rzeka", "Sen", "Wiatr"},
};

// Whether every code point of the text is in Latin-1, so the recorder's
// Latin-1 cells hold it; other texts go in as UTF-16.
bool IsLatin1(const std::string& text) {
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0xC4) return false;
        if (c >= 0x80) {
            // 0xC2 and 0xC3 lead U+0080..U+00FF.
            if (c < 0xC2) return false;
            ++i;
        }
    }
    return true;
}

// The recorder's encoding for three texts that share one: Latin-1 when all
// of them fit it.
uint8_t EncodingOf(const std::vector<std::string*>& texts) {
    for (const std::string* t : texts)
        if (!IsLatin1(*t)) return index_image::UTF16BE;
    return index_image::LATIN1;
}

std::string Encoded(const std::string& text, uint8_t encoding) {
    if (encoding == index_image::LATIN1) {
        std::string out;
        for (char16_t c : index_image::Utf16OfUtf8(text)) out.push_back(char(c));
        return out;
    }
    return index_image::Utf16Be(index_image::Utf16OfUtf8(text));
}

class Generator {
public:
    Generator() : random_(1) {
        for (int i = 0; i < ARTISTS; ++i) artists_.push_back(Words(ScriptOf(i), 2));
        for (int i = 0; i < ALBUMS; ++i) albums_.push_back(Words(ScriptOf(i), 1 + int(random_() % 3)));
    }

    // Disc n's index image: an album of one artist (every fifth disc a
    // compilation of many), its tracks titled in the album's script.
    std::vector<uint8_t> Disc(uint32_t n) {
        const int album = int(random_() % ALBUMS);
        const int script = ScriptOf(album);
        const bool isCompilation = n % 5 == 4;
        const int artist = int(random_() % ARTISTS);
        index_image::IndexImageBuilder b;
        std::string discTitle = albums_[size_t(album)];
        if (n % 3 == 0) discTitle += " " + std::to_string(1 + n % 4);
        b.SetDiscTitle(Encoded(discTitle, EncodingOf({&discTitle})), EncodingOf({&discTitle}));
        b.AddGroup({1, 12, Encoded(Words(script, 2), index_image::UTF16BE), index_image::UTF16BE});
        for (uint32_t t = 0; t < TRACKS_PER_DISC; ++t) {
            std::string title = Words(script, 1 + int(random_() % 3));
            if (int(random_() % 100) < STRESS_PERCENT) title += std::string(" ") + STRESS_WORD;
            std::string who = artists_[size_t(isCompilation ? random_() % ARTISTS : artist)];
            std::string from = albums_[size_t(album)];
            index_image::TrackDescription d;
            d.slot = t;
            d.encoding = EncodingOf({&title, &who, &from});
            d.title = Encoded(title, d.encoding);
            d.artist = Encoded(who, d.encoding);
            d.album = Encoded(from, d.encoding);
            d.timing = {{uint16_t(t * 40), uint16_t(t * 40 + 20 + random_() % 19), 0, uint8_t(random_() % 200)}};
            b.AddTrack(d);
        }
        return b.Build();
    }

private:
    int ScriptOf(int i) const { return i % int(SCRIPTS.size()); }
    std::string Words(int script, int count) {
        const std::vector<const char*>& words = SCRIPTS[size_t(script)];
        std::string text;
        for (int i = 0; i < count; ++i) {
            if (i && script != 2) text += ' ';  // Japanese runs its words together
            text += words[random_() % words.size()];
        }
        return text;
    }

    std::mt19937 random_;
    std::vector<std::string> artists_, albums_;
};

// What tavolin-list --add does with a folder: find its newest index, read
// it, walk it into the listing's records, key it by its image.
class DiscReader : public ScanSink {
public:
    void OnDiscTitle(const char* text) override { title = text; }
    void OnTrackFound(uint32_t, const TrackReport& report) override { AppendTrack(report); }

    bool Read(const std::filesystem::path& folder) {
        std::filesystem::path index;
        std::string error;
        std::vector<uint8_t> image;
        if (!ResolveIndexPath(folder, index, error) || !ReadIndexImage(index, image)) return false;
        ClearCatalogue();
        title.clear();
        std::atomic<int32_t> stop{0};
        WalkTrackIndex(TrackIndexFile{image.data(), image.size()}, stop, *this);
        DiscKeyFromImage(image.data(), image.size() - INDEX_IMAGE_PADDING, key);
        return true;
    }

    std::string title;
    char key[DISC_KEY_SIZE] = {};
};

void WriteRecorderFolder(const std::filesystem::path& root, const std::vector<uint8_t>& image) {
    std::filesystem::create_directories(root / "HMDHIFI");
    std::ofstream(root / "HMDHIFI" / "_MDHIFI.HMA", std::ios::binary) << "marker";
    std::ofstream out(root / "HMDHIFI" / "TRKIDX01.HMA", std::ios::binary);
    out.write(reinterpret_cast<const char*>(image.data()), std::streamsize(image.size()));
}

double Ms(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since).count();
}

struct Figures {
    double median, worst;
};

Figures Summary(std::vector<double> times) {
    if (times.empty()) return {0, 0};
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times.back()};
}

void PrintFigures(const char* name, const std::vector<double>& times, const char* note) {
    const Figures f = Summary(times);
    std::printf("%s median %.2f worst %.2f (%zu runs%s%s)\n", name, f.median, f.worst, times.size(),
                *note ? ", " : "", note);
}

// Each prefix of each text as typed, one keystroke at a time.
std::vector<std::string> Keystrokes(const std::vector<const char*>& texts) {
    std::vector<std::string> typed;
    for (const char* text : texts) {
        const size_t n = std::strlen(text);
        for (size_t i = 1; i <= n; ++i)
            if (i == n || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) typed.emplace_back(text, i);
    }
    return typed;
}

// The figures of searching and showing discs on an open catalogue.
void PrintSearchFigures(Catalogue& c) {
    // The window's answer to a keystroke: how many, and the visible page.
    uint64_t hits = 0;
    auto answer = [&](const std::string& text) {
        const auto start = std::chrono::steady_clock::now();
        FindTracks(c, text, [](const FoundTrack&) { return true; }, FindRange{0, FIND_PAGE}, &hits);
        return Ms(start);
    };
    struct Search {
        const char* name;
        std::vector<const char*> texts;
        std::vector<double> times;
        uint64_t hits = 0;
    } searches[] = {
        {"catalogue_find3_ms", {"Morning", "夜明け", "καλη", "ΘΆΛ", "москв", "Łódź", "straße", "rêve", "zzz", "ocean"}},
        {"catalogue_find12_ms", {"a", "é", "東", "κα", "Зи", "ł", "Mo", "ÇA"}},
        {"catalogue_find_stress_ms", {"love"}},
    };
    for (Search& s : searches)
        for (const char* text : s.texts) {
            for (int run = 0; run < 5; ++run) s.times.push_back(answer(text));
            s.hits += hits;
        }
    std::vector<double> keys;
    for (int run = 0; run < 3; ++run)
        for (const std::string& typed : Keystrokes({"Morning Light", "Καλημέρα", "夜明け", "Zażółć"}))
            keys.push_back(answer(typed));

    std::vector<StoredDisc> discs;
    ListDiscs(c, discs);
    std::vector<double> shows;
    std::vector<TrackRecord> tracks;
    for (size_t i = 0; i < discs.size() && i < 200; i += 7) {
        const auto start = std::chrono::steady_clock::now();
        StoredDisc d;
        FindDisc(c, discs[i].key, d);
        LoadDiscTracks(c, d.id, tracks);
        shows.push_back(Ms(start));
    }
    const auto listStart = std::chrono::steady_clock::now();
    ListDiscs(c, discs);
    const double listMs = Ms(listStart);

    for (const Search& s : searches) {
        const std::string note = "count + first " + std::to_string(FIND_PAGE) + " rows, " +
                                 std::to_string(s.hits / s.texts.size()) + " hits a search";
        PrintFigures(s.name, s.times, note.c_str());
    }
    PrintFigures("catalogue_keystroke_ms", keys, "count + first page at each typed character");
    PrintFigures("catalogue_show_disc_ms", shows, "FindDisc by key + LoadDiscTracks, 36 tracks");
    std::printf("catalogue_list_discs_ms %.2f (%zu discs)\n", listMs, discs.size());
}
}  // namespace

int RunCatalogueFindBench(const std::string& path) {
    Catalogue c;
    const CatalogueOpenResult opened = OpenCatalogue(path, CatalogueMode::READ, c);
    if (!opened.isOpen || c.IsEmpty()) {
        std::fprintf(stderr, "tavolin-bench: %s\n", opened.isOpen ? "no such catalogue" : opened.message.c_str());
        return 2;
    }
    PrintSearchFigures(c);
    return 0;
}

int RunCatalogueBench(uint32_t discCount, const std::string& keep) {
    const std::filesystem::path work = std::filesystem::temp_directory_path() /
                                       ("tavolin-bench-" + std::to_string(std::random_device{}()));
    const std::filesystem::path file = work / "catalogue.sqlite";
    const std::string path = TextOf(file);
    Catalogue c;
    const CatalogueOpenResult opened = OpenCatalogue(path, CatalogueMode::WRITE, c);
    if (!opened.isOpen) {
        std::fprintf(stderr, "tavolin-bench: %s\n", opened.message.c_str());
        return 2;
    }
    Generator generator;
    DiscReader reader;
    std::vector<double> adds;
    double allMs = 0;
    int failures = 0;
    for (uint32_t disc = 0; disc < discCount; ++disc) {
        const std::filesystem::path folder = work / "copy";
        WriteRecorderFolder(folder, generator.Disc(disc));
        const auto start = std::chrono::steady_clock::now();
        bool isAdded = reader.Read(folder);
        if (isAdded) {
            StoredDiscInfo info{reader.key, true, reader.title.c_str(), 1, "copy", 1};
            isAdded = AddDisc(c, info, gCatalogue.records, gCatalogue.count).result == AddResult::ADDED;
        }
        adds.push_back(Ms(start));
        allMs += adds.back();
        failures += !isAdded;
    }
    ClearCatalogue();
    std::printf("catalogue_discs %u tracks %u failures %d\n", discCount, discCount * TRACKS_PER_DISC, failures);
    PrintFigures("catalogue_add_ms", adds, "find, read and walk the copied folder's index, store");
    std::printf("catalogue_add_all_s %.2f\n", allMs / 1000.0);
    PrintSearchFigures(c);
    c = Catalogue();  // closes the file, its WAL checkpointed into it
    std::error_code ec;
    const auto bytes = std::filesystem::file_size(file, ec);
    std::printf("catalogue_bytes_per_track %.0f (file %llu bytes)\n", double(bytes) / (discCount * TRACKS_PER_DISC),
                (unsigned long long)bytes);
    if (!keep.empty()) std::filesystem::copy_file(file, PathOf(keep), std::filesystem::copy_options::overwrite_existing, ec);
    std::filesystem::remove_all(work, ec);
    return failures ? 1 : 0;
}
