// SPDX-License-Identifier: GPL-2.0-or-later
// The writer process of the catalogue stress tests: writes the TIA catalogue of a drive without
// pause and reports each write that has landed on standard output, one number a line.
// Usage: catalogue_writer DRIVE_C WRITER FIRST [COUNT]  (without COUNT it writes until killed)

#include "library/catalogue_file.h"
#include "library/drive.h"
#include "library/paths.h"
#include "stress_writes.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc != 4 && argc != 5) {
        std::fprintf(stderr, "usage: catalogue_writer DRIVE_C WRITER FIRST [COUNT]\n");
        return 2;
    }
    Drive::SetRoot(argv[1]);
    const long first = std::atol(argv[3]);
    const long count = argc == 5 ? std::atol(argv[4]) : -1;
    CatalogueFile tias(Paths::TiaCatalogue);
    for (long n = first; count < 0 || n < first + count; ++n) {
        const auto write = StressWrites::NthWrite(argv[2], n);
        try {
            tias.WriteString(write.section, write.key, write.value);
        } catch (const UnableToWrite& error) {
            std::fprintf(stderr, "write %ld: %s\n", n, error.what());
            return 1;
        }
        std::printf("%ld\n", n);
        std::fflush(stdout);
    }
    return 0;
}
