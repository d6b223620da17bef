#include "DevListCtrl.h"

#include <QContextMenuEvent>
#include <QPixmap>

#include "CCJShell.h"
#include "ListPopupMenu.h"
#include "Prompt.h"
#include "ResourceIds.h"

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
      m_midiIcon(CCJShell::MidiFileIcon()),
      m_blankIcon(BlankIcon(iconSize().isValid() ? iconSize() : QSize(16, 16))) {
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

void DevListCtrl::contextMenuEvent(QContextMenuEvent* event) {
    RunListPopupMenu(
        this, event->globalPos(), RowAt(event->pos()) >= 0, [this] { OnDeleteSlot(); },
        [this] { OnRefresh(); });
}

}  // namespace korvana
