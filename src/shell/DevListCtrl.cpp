#include "shell/DevListCtrl.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QPixmap>

#include "common/Prompt.h"
#include "controls/ListPopupMenu.h"
#include "controls/ResourceIds.h"
#include "shell/CCJShell.h"
#include "shell/WindowSettings.h"

namespace korvana {

namespace {

// A transparent picture in the icon's place, so that "Empty" lines up with the song names.
QIcon BlankIcon(const QSize& size) {
    QPixmap blank(size);
    blank.fill(Qt::transparent);
    return QIcon(blank);
}

}  // namespace

DevListCtrl::DevListCtrl(QWidget* parent)
    : CCJListCtrl(parent),
      m_verifyAction(new QAction(QStringLiteral("Verify after sending"), this)),
      m_backUpAction(new QAction(QStringLiteral("Back Up Keyboard\u2026"), this)),
      m_restoreAction(new QAction(QStringLiteral("Restore Backup\u2026"), this)),
      m_midiIcon(CCJShell::MidiFileIcon()),
      m_blankIcon(BlankIcon(iconSize().isValid() ? iconSize() : QSize(16, 16))) {
    m_verifyAction->setCheckable(true);
    m_verifyAction->setChecked(WindowSettings::LoadVerifyAfterSending());
    connect(m_verifyAction, &QAction::toggled, this, &WindowSettings::SaveVerifyAfterSending);
    connect(m_backUpAction, &QAction::triggered, this, &DevListCtrl::backUpRequested);
    connect(m_restoreAction, &QAction::triggered, this, &DevListCtrl::restoreRequested);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
}

int DevListCtrl::AddSlotRow(const QString& strText) {
    return AddRow({strText}, strText != kEmptySlot ? m_midiIcon : m_blankIcon);
}

void DevListCtrl::OnDeleteSlot() {
    const QList<int> rows = GetSelectedRows();
    if (rows.isEmpty()) {
        return;
    }
    for (int row : rows) {
        const QString name = GetItemText(row, 0);
        if (name == kEmptySlot) {
            continue;
        }
        const QString question = QStringLiteral("Delete ") + name + QLatin1Char('?');
        if (Prompt().Ask(question.toStdString(), PromptButtons::YesNo) == PromptAnswer::Yes) {
            emit deleteSlotRequested(row);
        }
    }
    emit deleteSlotRequested(-1);
}

void DevListCtrl::OnRefresh() {
    emit refreshRequested();
}

QList<QAction*> DevListCtrl::KeyboardActions() const {
    return {m_verifyAction, m_backUpAction, m_restoreAction};
}

void DevListCtrl::contextMenuEvent(QContextMenuEvent* event) {
    RunListPopupMenu(
        this, event->globalPos(), RowAt(event->pos()) >= 0, [this] { OnDeleteSlot(); },
        [this] { OnRefresh(); }, KeyboardActions());
}

}  // namespace korvana
