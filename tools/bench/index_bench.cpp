// Indexes a folder tree several times and prints files per second.
//   index_bench FOLDER [ROUNDS]
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "music/mp3_index.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: index_bench FOLDER [ROUNDS]\n");
        return 2;
    }
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 5;
    double best = 1e30;
    int found = 0;
    for (int i = 0; i < rounds; ++i) {
        ApplicationState app;
        const auto start = std::chrono::steady_clock::now();
        IndexMp3Folder(app, SystemFolderListing(), argv[1]);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        if (took.count() < best) best = took.count();
        found = app.mp3Count;
    }
    std::printf("indexed %d MP3 files: best of %d rounds %.1f ms, %.0f files/s\n", found, rounds, best * 1000,
                found / best);
    return 0;
}
