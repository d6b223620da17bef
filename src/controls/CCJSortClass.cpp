#include "controls/CCJSortClass.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <cstdlib>

#include "controls/CCJListCtrl.h"
#include "controls/LeadingNumber.h"

namespace korvana {

namespace {

// Compared rather than subtracted, so that values far apart cannot overflow.
template <typename T>
int ThreeWay(const T& a, const T& b) {
    return (a > b) - (a < b);
}

int CompareNoCase(const CCJSortClass::SortPair& pair1, const CCJSortClass::SortPair& pair2) {
    return ThreeWay(QString::compare(pair1.strText, pair2.strText, Qt::CaseInsensitive), 0);
}

}  // namespace

CCJSortClass::CCJSortClass(CCJListCtrl* list, int column, QString folder)
    : m_pList(list), m_strFolder(std::move(folder)) {
    const int count = list->topLevelItemCount();
    m_pairs.reserve(count);
    for (int row = 0; row < count; ++row) {
        SortPair& pair = m_pairs.emplace_back();
        pair.pItem = list->topLevelItem(row);
        pair.strText = pair.pItem->text(column);
    }
}

void CCJSortClass::Sort(bool ascending, int kind) {
    for (SortPair& pair : m_pairs) {
        ReadValue(pair, kind, m_strFolder);
    }
    const int signedKind = ascending ? kind : -kind;
    // Some kinds call equal texts "greater" either way round; asking both ways gives the sort the
    // strict order it needs, and a stable sort keeps such rows in their old order.
    std::stable_sort(
        m_pairs.begin(), m_pairs.end(), [signedKind](const SortPair& a, const SortPair& b) {
            return CompareItems(a, b, signedKind) < 0 && CompareItems(b, a, signedKind) >= 0;
        });

    QSet<QTreeWidgetItem*> selected;
    for (QTreeWidgetItem* item : m_pList->selectedItems()) {
        selected.insert(item);
    }
    QTreeWidgetItem* current = m_pList->currentItem();
    const bool signalsWereBlocked = m_pList->blockSignals(true);
    m_pList->invisibleRootItem()->takeChildren();
    QList<QTreeWidgetItem*> ordered;
    ordered.reserve(static_cast<qsizetype>(m_pairs.size()));
    for (const SortPair& pair : m_pairs) {
        ordered.push_back(pair.pItem);
    }
    m_pList->addTopLevelItems(ordered);
    if (current != nullptr) {
        m_pList->setCurrentItem(current, 0, QItemSelectionModel::NoUpdate);
    }
    for (QTreeWidgetItem* item : ordered) {
        item->setSelected(selected.contains(item));
    }
    m_pList->blockSignals(signalsWereBlocked);
}

void CCJSortClass::ReadValue(SortPair& pair, int kind, const QString& folder) {
    switch (std::abs(kind)) {
        case SORT_INT:
            pair.nInteger = LeadingInteger(pair.strText);
            break;
        case SORT_DATETIME:
            pair.time = ReadDateTime(pair.strText);
            break;
        case SORT_DECIMAL:
            pair.dDecimal = LeadingDecimal(pair.strText);
            break;
        case SORT_FILE: {
            const QFileInfo info(QDir(folder), pair.strText);
            pair.nEntry = pair.strText.isEmpty() || !info.exists() ? 0 : info.isDir() ? 2 : 1;
            break;
        }
        default:
            break;
    }
}

int CCJSortClass::CompareItems(const SortPair& pair1, const SortPair& pair2, int kind) {
    const int d = kind >= 0 ? 1 : -1;
    switch (std::abs(kind)) {
        case SORT_INT:
            return ThreeWay(pair1.nInteger, pair2.nInteger) * d;
        case SORT_TEXT:
            return CompareNoCase(pair1, pair2) * d;
        case SORT_DATETIME:
            if (!pair1.time.isValid() || !pair2.time.isValid()) {
                return 0;
            }
            return pair1.time < pair2.time ? -d : d;
        case SORT_DECIMAL:
            return pair1.dDecimal < pair2.dDecimal ? -d : d;
        case SORT_FILE:
            if (pair1.nEntry != 0 && pair2.nEntry != 0 && pair1.nEntry != pair2.nEntry) {
                return pair1.nEntry == 2 ? -d : d;
            }
            return CompareNoCase(pair1, pair2) * d;
        default:
            return 0;
    }
}

int CCJSortClass::CompareTexts(const QString& text1, const QString& text2, int kind,
                               const QString& folder) {
    SortPair pair1;
    pair1.strText = text1;
    SortPair pair2;
    pair2.strText = text2;
    ReadValue(pair1, kind, folder);
    ReadValue(pair2, kind, folder);
    return CompareItems(pair1, pair2, kind);
}

QDateTime CCJSortClass::ReadDateTime(const QString& text) {
    static const QRegularExpression pattern(
        QStringLiteral(R"(^\s*(\d{1,2})/(\d{1,2})/(\d{1,4})\s+(\d{1,2}):(\d{1,2})\s*$)"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch()) {
        return {};
    }
    const QDate date(match.captured(3).toInt(), match.captured(1).toInt(),
                     match.captured(2).toInt());
    const QTime time(match.captured(4).toInt(), match.captured(5).toInt());
    if (!date.isValid() || !time.isValid()) {
        return {};
    }
    return QDateTime(date, time);
}

}  // namespace korvana
