#pragma once

// The program's string table: fixed texts looked up by their resource id.

#include <QString>

namespace korvana {

// The text with the given id, or an empty text when the table has none.
QString LoadResString(int id);

}  // namespace korvana
