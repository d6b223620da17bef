#pragma once

// Sorts the rows of a list by the text of one column, with one of five comparison kinds.

#include <QDateTime>
#include <QString>
#include <cstdint>
#include <vector>

class QTreeWidgetItem;

namespace korvana {

class CCJListCtrl;

class CCJSortClass {
public:
    static constexpr int SORT_INT = 1;
    static constexpr int SORT_TEXT = 2;
    static constexpr int SORT_DATETIME = 3;
    static constexpr int SORT_DECIMAL = 4;
    static constexpr int SORT_FILE = 5;

    // One row as the sort sees it: its text in the sort column, read once, and that text's value
    // for the comparison kind in use.
    struct SortPair {
        QTreeWidgetItem* pItem = nullptr;
        QString strText;
        std::int64_t nInteger = 0;
        double dDecimal = 0.0;
        QDateTime time;  // invalid when the text is no date and time
        int nEntry = 0;  // SORT_FILE: 0 no entry, 1 file, 2 folder
    };

    // Reads every row's text in the column. Names of SORT_FILE are resolved in folder; an empty
    // folder means the process's current directory.
    CCJSortClass(CCJListCtrl* list, int column, QString folder = {});

    // Reorders the rows; the selection and the current row stay with their rows.
    void Sort(bool ascending, int kind);

    // Fills a pair's value for the comparison kind.
    static void ReadValue(SortPair& pair, int kind, const QString& folder);

    // Negative, zero or positive as pair1 sorts before, with or after pair2. A negative kind
    // sorts in descending order; an unknown kind makes all rows equal.
    static int CompareItems(const SortPair& pair1, const SortPair& pair2, int kind);

    // The same comparison on two bare texts.
    static int CompareTexts(const QString& text1, const QString& text2, int kind,
                            const QString& folder = {});

    // Reads "%.2d/%.2d/%d %.2d:%.2d" (month/day/year hour:minute) as local time; invalid when
    // the text is not such a date.
    static QDateTime ReadDateTime(const QString& text);

private:
    CCJListCtrl* m_pList;
    QString m_strFolder;
    std::vector<SortPair> m_pairs;
};

}  // namespace korvana
