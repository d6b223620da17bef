#pragma once

// The repository pane: the list of the songs in the repository folder, and the way songs get in.

#include <QStringList>
#include <QWidget>
#include <vector>

#include "shell/TransferFiles.h"

namespace korvana {

class RepListCtrl;

class CTopRightView : public QWidget {
    Q_OBJECT

public:
    CTopRightView(const QString& repositoryFolder, QWidget* parent = nullptr);

    // Rebuilds the list from the folder: every song ("*.mid") and song image ("*.mix") in any
    // letter case, in the order of the list's sort (at first by name, ignoring case).
    void RefreshRepository();

    // The names of the selected rows, in row order.
    QStringList GetSelectedFiles() const;

    // Copies songs into the repository, each through the check, then rebuilds the list.
    void AddSongs(const std::vector<TransferSource>& songs);

    // Files dropped on the list: every file whose name ends in ".MID" in any case is taken from
    // its own path and stored under its name in capitals; other files are passed over.
    void OnRepositoryDrop(const QStringList& paths);

    RepListCtrl* List() const { return m_listRepository; }

    // The repository folder, ending in '/'.
    const QString m_strRepository;
    // The check a song passes on its way in.
    SongCheck m_songCheck = CheckWithConverter;
    // What repairs the refused songs that can be repaired, to offer them "Fix and Add".
    SongRepairer m_songRepairer = RepairPrivateCopy;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    RepListCtrl* m_listRepository;
};

}  // namespace korvana
