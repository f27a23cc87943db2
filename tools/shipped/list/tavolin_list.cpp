// tavolin-list [OPTION]... PATH...: the window's track listing of a
// recorder's drive, a copy of its folder or a track index file, on the
// command line (see --help).
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "list_core.h"
#include "listing/track_catalogue.h"

// Given no buffer, glibc keeps its own small one whatever the size asked.
static char gOutputBuffer[LIST_OUTPUT_BUFFER_SIZE];

// A full disc's records take about 8 MB, and with the kernel's 4 KB pages
// each record cost a page fault, most of a whole run's time. Storage of
// 2 MB or more is mapped on its own and asked for huge pages; fresh mapped
// pages are zero, as calloc's would be. Smaller storage is calloc's.
constexpr size_t HUGE_PAGE = size_t(2) << 20;

static size_t MappedBytes(size_t count, size_t size) {
    if (size != 0 && count > (SIZE_MAX - HUGE_PAGE) / size) return 0;
    const size_t bytes = count * size;
    return bytes < HUGE_PAGE ? 0 : (bytes + HUGE_PAGE - 1) / HUGE_PAGE * HUGE_PAGE;
}

static void* CatalogueStorage(size_t count, size_t size) {
    const size_t bytes = MappedBytes(count, size);
    if (bytes == 0) return std::calloc(count, size);
    // Mapped one huge page longer, then cut to a start on a huge page.
    void* mapped = mmap(nullptr, bytes + HUGE_PAGE, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) return nullptr;
    const uintptr_t start = (uintptr_t(mapped) + HUGE_PAGE - 1) & ~(HUGE_PAGE - 1);
    const size_t head = start - uintptr_t(mapped);
    if (head != 0) munmap(mapped, head);
    if (HUGE_PAGE - head != 0) munmap(reinterpret_cast<void*>(start + bytes), HUGE_PAGE - head);
#ifdef MADV_HUGEPAGE
    madvise(reinterpret_cast<void*>(start), bytes, MADV_HUGEPAGE);
#endif
    return reinterpret_cast<void*>(start);
}

static void FreeCatalogueStorage(void* storage, size_t count, size_t size) {
    const size_t bytes = MappedBytes(count, size);
    if (bytes == 0) {
        std::free(storage);
    } else {
        munmap(storage, bytes);
    }
}

int main(int argc, char** argv) {
    gCatalogueAlloc = CatalogueStorage;
    gCatalogueFree = FreeCatalogueStorage;
    // A listing into a file or a pipe goes out in large writes, not one per
    // few kilobytes; a terminal keeps its line buffering.
    if (!isatty(STDOUT_FILENO)) std::setvbuf(stdout, gOutputBuffer, _IOFBF, LIST_OUTPUT_BUFFER_SIZE);
    return RunList(std::vector<std::string>(argv + 1, argv + argc), stdout, stderr);
}
