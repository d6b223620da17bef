#pragma once

// The folder tree of the file browser. Its top level holds the user's places (home, the desktop
// where it exists, the file-system root and the mounted volumes); deeper levels are read the
// first time a folder is opened, sorted by name. Selecting a folder fills the linked file list.

#include <QTreeWidget>
#include <vector>

namespace korvana {

class CCJShellList;

class CCJShellTree : public QTreeWidget {
    Q_OBJECT

public:
    struct Place {
        QString strName;
        QString strPath;
    };

    explicit CCJShellTree(QWidget* parent = nullptr);

    void SetListCtrl(CCJShellList* list) { m_pListCtrl = list; }

    // The places of the top level, in order.
    static std::vector<Place> UserPlaces();

    // Deletes every item and reads the top level again, opening its first place. While
    // rebuilding is set, selecting a folder leaves the list alone.
    void RefreshShellTree(bool rebuilding);

    // Selects the folder of a path, opening the levels above it; names match exactly, or else
    // without regard to letter case. Stops at the deepest folder found, and fills the list once
    // for it. A path that does not exist is reported as "Folder not found".
    bool TunnelTree(const QString& path);

    // The folder of the selected item; empty when nothing is selected.
    QString GetSelectedFolderPath() const;

    static QString ItemPath(const QTreeWidgetItem* item);

    // Reads an item's sub-folders unless they were read already.
    void OnItemExpanding(QTreeWidgetItem* item);

    bool m_bRebuilding = false;

private:
    void FillTreeView(QTreeWidgetItem* parent, const QString& folder);
    QTreeWidgetItem* AddFolderItem(QTreeWidgetItem* parent, const QString& name,
                                   const QString& path);
    void OnSelChanged(QTreeWidgetItem* item);
    static QTreeWidgetItem* FindChild(QTreeWidgetItem* parent, const QString& name);

    CCJShellList* m_pListCtrl = nullptr;
    bool m_bTunnelling = false;
};

}  // namespace korvana
