// SPDX-License-Identifier: GPL-2.0-or-later
// The platform's own private-profile read, for comparison: GetPrivateProfileStringA of one key
// in a given section, called again and again on the same file (the platform keeps a parsed copy
// and only checks that the file is unchanged). Built for Windows; run there or under Wine.
// Usage: platform_profile_read FILE SECTION KEY CALLS   prints the mean time of one call in ns.

#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[])
{
    if (argc != 5)
        return 2;
    const int calls = std::atoi(argv[4]);
    char value[2048];
    for (int i = 0; i < 100; ++i) // the first call parses the file
        GetPrivateProfileStringA(argv[2], argv[3], "", value, sizeof value, argv[1]);
    if (value[0] == '\0') {
        std::fprintf(stderr, "no value for [%s] %s in %s\n", argv[2], argv[3], argv[1]);
        return 1;
    }
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    for (int i = 0; i < calls; ++i)
        GetPrivateProfileStringA(argv[2], argv[3], "", value, sizeof value, argv[1]);
    QueryPerformanceCounter(&end);
    const double seconds = static_cast<double>(end.QuadPart - start.QuadPart) /
                           static_cast<double>(frequency.QuadPart);
    std::printf("%.0f\n", seconds * 1e9 / calls);
    return 0;
}
