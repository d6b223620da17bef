#include "shell/CCJShellTree.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QStandardPaths>
#include <QStorageInfo>

#include "common/Prompt.h"
#include "shell/CCJShell.h"
#include "shell/CCJShellList.h"
#include "shell/WindowSettings.h"

namespace korvana {

namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr int kReadRole = Qt::UserRole + 1;

bool HasSubFolders(const QString& folder) {
    return QDirIterator(folder, QDir::Dirs | QDir::NoDotAndDotDot).hasNext();
}

// Whether folder is path itself or one of the folders above it.
bool Contains(const QString& folder, const QString& path) {
    if (folder == QStringLiteral("/") || folder == path) {
        return true;
    }
    return path.startsWith(folder + QLatin1Char('/'));
}

// Mounted volumes of real devices, other than the root and what lies in the places already.
bool IsUserVolume(const QStorageInfo& volume) {
    return volume.isValid() && volume.isReady() && !volume.isRoot() &&
           volume.device().startsWith("/dev/");
}

}  // namespace

CCJShellTree::CCJShellTree(QWidget* parent) : QTreeWidget(parent) {
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(true);
    setUniformRowHeights(true);
    connect(this, &QTreeWidget::itemExpanded, this, &CCJShellTree::OnItemExpanding);
    connect(this, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current) { OnSelChanged(current); });
    RefreshShellTree(false);
}

std::vector<CCJShellTree::Place> CCJShellTree::UserPlaces() {
    std::vector<Place> places;
    const QString home = QDir::homePath();
    places.push_back({QStringLiteral("Home"), home});
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (!desktop.isEmpty() && desktop != home && QFileInfo(desktop).isDir()) {
        places.push_back({QStringLiteral("Desktop"), desktop});
    }
    places.push_back({QDir::rootPath(), QDir::rootPath()});
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (IsUserVolume(volume)) {
            places.push_back({volume.displayName(), volume.rootPath()});
        }
    }
    return places;
}

void CCJShellTree::RefreshShellTree(bool rebuilding) {
    m_bRebuilding = rebuilding;
    clear();
    for (const Place& place : UserPlaces()) {
        AddFolderItem(nullptr, place.strName, place.strPath);
    }
    if (topLevelItemCount() > 0) {
        OnItemExpanding(topLevelItem(0));
        topLevelItem(0)->setExpanded(true);
    }
}

QTreeWidgetItem* CCJShellTree::AddFolderItem(QTreeWidgetItem* parent, const QString& name,
                                             const QString& path) {
    auto* item = new QTreeWidgetItem(QStringList{name});
    item->setData(0, kPathRole, path);
    item->setIcon(0, CCJShell::GetIcon(QFileInfo(path)));
    item->setChildIndicatorPolicy(HasSubFolders(path)
                                      ? QTreeWidgetItem::ShowIndicator
                                      : QTreeWidgetItem::DontShowIndicatorWhenChildless);
    if (parent != nullptr) {
        parent->addChild(item);
    } else {
        addTopLevelItem(item);
    }
    return item;
}

void CCJShellTree::FillTreeView(QTreeWidgetItem* parent, const QString& folder) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QFileInfoList folders = QDir(folder).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot,
                                                             QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& entry : folders) {
        AddFolderItem(parent, entry.fileName(), entry.filePath());
    }
    QApplication::restoreOverrideCursor();
}

void CCJShellTree::OnItemExpanding(QTreeWidgetItem* item) {
    if (item == nullptr || item->data(0, kReadRole).toBool()) {
        return;
    }
    item->setData(0, kReadRole, true);
    FillTreeView(item, ItemPath(item));
}

QString CCJShellTree::ItemPath(const QTreeWidgetItem* item) {
    return item != nullptr ? item->data(0, kPathRole).toString() : QString();
}

QString CCJShellTree::GetSelectedFolderPath() const {
    return ItemPath(currentItem());
}

void CCJShellTree::OnSelChanged(QTreeWidgetItem* item) {
    if (item == nullptr || m_bRebuilding || m_bTunnelling) {
        return;
    }
    WindowSettings::SaveBrowserFolder(ItemPath(item));
    if (m_pListCtrl != nullptr) {
        m_pListCtrl->PopulateList(ItemPath(item));
    }
}

QTreeWidgetItem* CCJShellTree::FindChild(QTreeWidgetItem* parent, const QString& name) {
    QTreeWidgetItem* caseless = nullptr;
    for (int i = 0; i < parent->childCount(); ++i) {
        QTreeWidgetItem* child = parent->child(i);
        const QString text = child->text(0);
        if (text == name) {
            return child;
        }
        if (caseless == nullptr && text.compare(name, Qt::CaseInsensitive) == 0) {
            caseless = child;
        }
    }
    return caseless;
}

bool CCJShellTree::TunnelTree(const QString& path) {
    m_bRebuilding = false;
    if (!CCJShell::PathExists(path)) {
        Prompt().Message(path.toStdString(), "Folder not found", PromptIcon::Error);
        return false;
    }
    const QString target = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    // The place holding the path most closely: a volume or home before the root.
    QTreeWidgetItem* item = nullptr;
    QString placePath;
    for (int i = 0; i < topLevelItemCount(); ++i) {
        const QString candidate = QDir::cleanPath(ItemPath(topLevelItem(i)));
        if (Contains(candidate, target) && candidate.size() > placePath.size()) {
            item = topLevelItem(i);
            placePath = candidate;
        }
    }
    if (item == nullptr) {
        return false;
    }
    m_bTunnelling = true;
    const QStringList names =
        target.mid(placePath.size()).split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString& name : names) {
        OnItemExpanding(item);
        item->setExpanded(true);
        QTreeWidgetItem* child = FindChild(item, name);
        if (child == nullptr) {
            break;
        }
        item = child;
    }
    setCurrentItem(item);
    scrollToItem(item);
    m_bTunnelling = false;
    OnSelChanged(item);
    return true;
}

}  // namespace korvana
