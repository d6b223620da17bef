#pragma once

// Where a list may keep its column widths between runs. The program itself installs no store, so
// nothing is read or written; a store can be handed in where settings are wanted (and in tests).

#include <QString>

namespace korvana {

class IProfileStore {
public:
    virtual ~IProfileStore() = default;
    virtual QString GetProfileString(const QString& section, const QString& entry,
                                     const QString& defaultValue) const = 0;
    virtual void WriteProfileString(const QString& section, const QString& entry,
                                    const QString& value) = 0;
};

}  // namespace korvana
