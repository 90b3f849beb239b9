// SPDX-License-Identifier: MIT
#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("pagloom-cli %s\n", PAGLOOM_VERSION);
        return 0;
    }
    std::fprintf(stderr, "Aufruf: pagloom-cli --version\n");
    return 64;
}
