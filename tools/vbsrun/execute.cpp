// vbsrun --execute: the Execute button's pipeline on a file.
#include <QString>
#include <cstdio>

int executeFile(const QString &, int)
{
    std::fprintf(stderr, "vbsrun: --execute is not available in this build\n");
    return 2;
}
