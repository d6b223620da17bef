#pragma once

// A slot name comes from the keyboard and is not to be trusted as a file name: it may hold
// folder separators, control characters or be "..". The fetch stores a slot under a name made
// safe first, so that it always lands in the repository folder itself.

#include <QString>

namespace korvana {

// The longest file name made from a slot name, in characters.
constexpr int kMaxSlotFileName = 100;

// The name cut to kMaxSlotFileName characters, with '_' in place of folder separators, control
// characters, the characters Windows refuses in names, and trailing dots and blanks (so "." and
// ".." become "_" and "__"); "_" for an empty name.
QString SlotFileName(const QString& slotName);

}  // namespace korvana
