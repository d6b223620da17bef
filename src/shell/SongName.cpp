#include "shell/SongName.h"

#include <QFile>
#include <QStringDecoder>
#include <exception>

#include "conversion/CMidiReader.h"

namespace korvana {

QString ReadSongName(const QString& path) {
    std::string name;
    try {
        CMidiReader reader;
        reader.m_strFileName = QFile::encodeName(path).toStdString();
        if (!reader.LoadFile() || reader.ReadHeader() != CMidiReader::kHeaderOk ||
            !reader.ReadTracks()) {
            return {};
        }
        name = reader.GetSongName();
    } catch (const std::exception&) {
        return {};  // a file that cannot be opened shows no name
    }
    // Song names are 8-bit text: UTF-8 where they are valid UTF-8, Latin-1 otherwise.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    const QString decoded = utf8(QByteArrayView(name.data(), static_cast<qsizetype>(name.size())));
    return utf8.hasError() ? QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()))
                           : decoded;
}

}  // namespace korvana
