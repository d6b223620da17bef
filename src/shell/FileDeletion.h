#pragma once

// Deleting what the user selected in a list: one question that names what goes, then the
// desktop's trash, so that a wrong click costs nothing. Only where the platform has no trash, or
// the trash refuses an entry, is anything deleted for good, and then the user is told first.

#include <QString>
#include <QStringList>
#include <functional>
#include <string>

namespace korvana {

// The most names a question lists; the rest are counted.
constexpr int kMaxNamedEntries = 10;

// "Delete files?" followed by one line per entry (up to ten, then "and N more"); a folder's line
// says that its contents go with it. The last line says where the entries go.
std::string DeleteQuestion(const QStringList& paths, bool toTrash);

// True where the platform keeps a trash that files can be moved to.
bool TrashAvailable();

// Moves one entry to the desktop's trash; true when it went.
using TrashFunction = std::function<bool(const QString& path)>;
bool MoveToTrash(const QString& path);

// Asks DeleteQuestion for the paths; on Yes moves each to the trash (deletes it where there is
// none). Entries the trash refuses are named in a second question and deleted for good only on
// Yes. A link goes by itself, never what it points to. Returns whether the first answer was Yes.
bool AskAndDeleteEntries(const QStringList& paths, const TrashFunction& toTrash = MoveToTrash);

}  // namespace korvana
