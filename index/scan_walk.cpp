#include "index/scan_walk.h"

#include "text/hms.h"
#include "text/line_writer.h"
#include "index/track_timing.h"

namespace {

// Room for the length and mode piece of a line: "     (" hours "h:" "59m:"
// "59s) " "   [ " mode name " ]" is at most 47 characters.
constexpr size_t LINE_TAIL_SIZE = 64;

// The walk's fixed working buffers, reused for every track.
struct ScanBuffers {
    char title[TEXT_BUFFER_SIZE];
    char artist[TEXT_BUFFER_SIZE];
    char album[TEXT_BUFFER_SIZE];
    char group[TEXT_BUFFER_SIZE];
    char tail[LINE_TAIL_SIZE];
    char line[LINE_BUFFER_SIZE];  // the disc title, then each display line
    float length;
};

void ReadTextOrEmpty(const TrackIndexFile& file, uint16_t cell, char (&out)[TEXT_BUFFER_SIZE],
                     const std::atomic<int32_t>& stop) {
    out[0] = '\0';
    if (cell != 0) ReadCellText(file, cell, out, sizeof out, TEXT_CHARS, stop);
}

// Decodes the track in the slot and reports it. The number shown is the play
// position, or the entry's own track number when the disc keeps no play
// order (playPosition 0); running numbers an untitled track. The texts come
// first in the line and are cut on a character boundary when the line holds
// LINE_CHARS characters, so the length and mode piece at its end always
// shows.
void ReportTrack(const TrackIndexFile& file, uint32_t slot, uint32_t playPosition, uint32_t running,
                 const std::atomic<int32_t>& stop, ScanBuffers& buf, ScanSink& sink) {
    const uint16_t titleCell = TitleCell(file, slot);
    const uint16_t artistCell = ArtistCell(file, slot);
    const uint16_t albumCell = AlbumCell(file, slot);
    ReadTextOrEmpty(file, titleCell, buf.title, stop);
    ReadTextOrEmpty(file, artistCell, buf.artist, stop);
    ReadTextOrEmpty(file, albumCell, buf.album, stop);

    TrackTiming timing;
    ComputeTrackTiming(file, slot, timing);
    const uint32_t number = playPosition != 0 ? playPosition : timing.trackNumber;
    buf.length = timing.length;

    const int32_t groupCell = FindGroup(file, number);
    const uint16_t groupTitleCell = groupCell > 0 ? uint16_t(groupCell) : 0;
    ReadTextOrEmpty(file, groupTitleCell, buf.group, stop);

    // Untitled exactly when the line would carry no text.
    const bool isUntitled = titleCell == 0 && artistCell == 0 && albumCell == 0 && groupTitleCell == 0;

    char length[HMS_TEXT_SIZE];
    FormatHms(buf.length, 1, length, sizeof length);
    LineWriter tail(buf.tail, sizeof buf.tail);
    tail.Add("     (%s) ", length);
    tail.Add("   [ %s ]", RecordingModeName(timing.bitrate));

    LineWriter line(buf.line, sizeof buf.line - tail.Length(), LINE_CHARS - tail.Chars());
    if (isUntitled) {
        line.Add("UNTITLED TRACK %u", running);
    } else {
        // Texts and their separators go in as pieces of their own: the line
        // cuts a run of pieces where it would cut them formatted as one, and
        // a full disc's texts are not formatted a second time.
        line.Add("%03u) ", number);
        if (buf.group[0] != '\0') {
            line.Append(" {");
            line.Append(buf.group);
            line.Append("}     ");
        }
        if (buf.artist[0] != '\0') {
            line.Append(buf.artist);
            line.Append(" \\ ");
        }
        if (buf.album[0] != '\0') {
            line.Append(buf.album);
            line.Append(" \\ ");
        }
        line.Append(buf.title);
    }
    LineWriter whole(buf.line + line.Length(), tail.Length() + 1);
    whole.Append(buf.tail);

    TrackReport report;
    report.displayLine = buf.line;
    report.artist = buf.artist;
    report.album = buf.album;
    report.title = buf.title;
    report.trackNumber = number;
    report.trackLength = &buf.length;
    report.bitrate = timing.bitrate;
    report.groupName = buf.group;
    report.slot = slot;
    report.recorded = RecordedTime(file, slot);
    sink.OnTrackFound(slot, report);
}

}  // namespace

// With a play order, the slots it names are the tracks, reported in slot
// order and numbered by play position. Without one, every slot whose first
// bytes are not all zero is a track, numbered by its entry, and the walk
// ends after as many tracks as the header counts. Either way it never looks
// past the last slot of the table.
void WalkTrackIndex(const TrackIndexFile& file, const std::atomic<int32_t>& stop, ScanSink& sink) {
    ScanBuffers buf;
    const uint16_t discTitleCell = DiscTitleCell(file);
    if (discTitleCell != 0) {
        buf.line[0] = '\0';
        ReadCellText(file, discTitleCell, buf.line, sizeof buf.line, LINE_CHARS, stop);
        sink.OnDiscTitle(buf.line);
    }
    if (IsStopped(stop)) return;

    uint16_t positions[TRACK_SLOT_COUNT];
    if (ReadPlayOrder(file, positions) > 0) {
        for (uint32_t slot = 0; slot < TRACK_SLOT_COUNT; ++slot) {
            if (positions[slot] != 0)
                ReportTrack(file, slot, positions[slot], positions[slot], stop, buf, sink);
            if (IsStopped(stop)) return;
        }
        return;
    }

    uint32_t bound = TrackCount(file);
    for (uint32_t slot = 0; slot < bound && slot < TRACK_SLOT_COUNT; ++slot) {
        if (IsEmptySlot(file, slot)) {
            ++bound;
        } else {
            ReportTrack(file, slot, 0, slot + 1, stop, buf, sink);
        }
        if (IsStopped(stop)) return;
    }
}

// The slots WalkTrackIndex would report, chosen the same way.
uint32_t CountWalkedTracks(const TrackIndexFile& file) {
    uint16_t positions[TRACK_SLOT_COUNT];
    const uint32_t named = ReadPlayOrder(file, positions);
    if (named > 0) return named;
    uint32_t bound = TrackCount(file), count = 0;
    for (uint32_t slot = 0; slot < bound && slot < TRACK_SLOT_COUNT; ++slot) {
        if (IsEmptySlot(file, slot))
            ++bound;
        else
            ++count;
    }
    return count;
}
