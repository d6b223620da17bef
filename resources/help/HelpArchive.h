#pragma once

// The help document as a web archive (Help.mht): the HTML page in a MIME multipart/related
// message, byte for byte the same for the same page, so the checked-in archive can be compared
// with the page it came from.

#include <QByteArray>

namespace korvana {

QByteArray MakeHelpArchive(const QByteArray& html);

}  // namespace korvana
