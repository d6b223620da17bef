#include "shell/CTopRightView.h"

#include <QDir>
#include <QFileInfo>
#include <QResizeEvent>
#include <array>

#include "controls/ResourceIds.h"
#include "shell/CCJShell.h"
#include "shell/ColumnWidths.h"
#include "shell/RepListCtrl.h"
#include "shell/WindowSettings.h"

namespace korvana {

namespace {

constexpr std::array kColumnWidths{150, 100, 55, 75, 110};
constexpr std::array kColumnTitles{IDS_COLUMN_REPOSITORY, IDS_COLUMN_SONG_NAME, IDS_COLUMN_SIZE,
                                   IDS_COLUMN_TYPE, IDS_COLUMN_MODIFIED};

const QString kListName = QStringLiteral("repository");

}  // namespace

CTopRightView::CTopRightView(const QString& repositoryFolder, QWidget* parent)
    : QWidget(parent), m_strRepository(repositoryFolder), m_listRepository(new RepListCtrl(this)) {
    m_listRepository->BuildColumns(FontScaledWidths(kColumnWidths, m_listRepository->font()),
                                   kColumnTitles);
    m_listRepository->SubclassHeader(false);
    CCJShell::KeepMidiColumnsWhole(*m_listRepository);
    if (const auto sort = WindowSettings::LoadSort(kListName)) {
        m_listRepository->SetSort(sort->nColumn, sort->bAscending);
    }
    connect(m_listRepository, &CCJListCtrl::sortChosen, this, [](int column, bool ascending) {
        WindowSettings::SaveSort(kListName, {column, ascending});
    });
    m_listRepository->m_strFolder = m_strRepository;
    connect(m_listRepository, &RepListCtrl::refreshRequested, this,
            &CTopRightView::RefreshRepository);
    connect(m_listRepository, &RepListCtrl::filesDropped, this, &CTopRightView::OnRepositoryDrop);
    RefreshRepository();
}

void CTopRightView::RefreshRepository() {
    m_listRepository->setUpdatesEnabled(false);
    m_listRepository->DeleteAllItems();
    const QFileInfoList songs =
        QDir(m_strRepository)
            .entryInfoList({QStringLiteral("*.mid"), QStringLiteral("*.mix")},
                           QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot,
                           QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& song : songs) {
        m_listRepository->AddFile(song.filePath());
    }
    m_listRepository->SortList(m_listRepository->m_nSortColumn, m_listRepository->m_bAscending);
    m_listRepository->setUpdatesEnabled(true);
}

QStringList CTopRightView::GetSelectedFiles() const {
    QStringList names;
    for (int row : m_listRepository->GetSelectedRows()) {
        names.push_back(m_listRepository->GetItemText(row, 0));
    }
    return names;
}

void CTopRightView::AddSongs(const std::vector<TransferSource>& songs) {
    TransferFiles(songs, m_strRepository, m_songCheck, m_songRepairer);
    RefreshRepository();
}

void CTopRightView::OnRepositoryDrop(const QStringList& paths) {
    std::vector<TransferSource> songs;
    for (const QString& path : paths) {
        const QString name = QFileInfo(path).fileName().toUpper();
        if (name.endsWith(QStringLiteral(".MID"))) {
            songs.push_back({path, name});
        }
    }
    if (!songs.empty()) {
        AddSongs(songs);
    }
}

void CTopRightView::resizeEvent(QResizeEvent* event) {
    m_listRepository->setGeometry(0, 0, event->size().width(), event->size().height());
}

}  // namespace korvana
