#include "resources/help/HelpArchive.h"

namespace korvana {

namespace {

constexpr char kBoundary[] = "----=_NextPart_Korvana_Help";
constexpr int kLineLength = 76;

}  // namespace

QByteArray MakeHelpArchive(const QByteArray& html) {
    // MIME wants CRLF line ends and base64 lines of at most 76 characters.
    const QByteArray crlf("\r\n");
    QByteArray archive;
    archive += "From: <Saved by Korvana>" + crlf;
    archive += "Subject: Korvana Help" + crlf;
    archive += "MIME-Version: 1.0" + crlf;
    archive += "Content-Type: multipart/related;" + crlf;
    archive += "\ttype=\"text/html\";" + crlf;
    archive += QByteArray("\tboundary=\"") + kBoundary + "\"" + crlf;
    archive += crlf;
    archive += "This is a multi-part message in MIME format." + crlf;
    archive += crlf;
    archive += QByteArray("--") + kBoundary + crlf;
    archive += "Content-Type: text/html; charset=\"utf-8\"" + crlf;
    archive += "Content-Transfer-Encoding: base64" + crlf;
    archive += "Content-Location: file:///Help.html" + crlf;
    archive += crlf;
    const QByteArray encoded = html.toBase64();
    for (qsizetype at = 0; at < encoded.size(); at += kLineLength) {
        archive += encoded.mid(at, kLineLength) + crlf;
    }
    archive += crlf;
    archive += QByteArray("--") + kBoundary + "--" + crlf;
    return archive;
}

}  // namespace korvana
