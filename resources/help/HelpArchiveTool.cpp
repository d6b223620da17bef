// Writes Help.mht from Help.html: korvana-help-archive Help.html Help.mht

#include <QFile>
#include <cstdio>

#include "resources/help/HelpArchive.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: korvana-help-archive HELP.html HELP.mht\n", stderr);
        return 2;
    }
    QFile page(QFile::decodeName(argv[1]));
    if (!page.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    QFile archive(QFile::decodeName(argv[2]));
    const QByteArray bytes = korvana::MakeHelpArchive(page.readAll());
    if (!archive.open(QIODevice::WriteOnly) || archive.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
