#include "shell/QtPrompt.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include "controls/ResourceIds.h"
#include "controls/StringTable.h"

namespace korvana {

namespace {

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QMessageBox::Icon BoxIcon(PromptIcon icon) {
    switch (icon) {
        case PromptIcon::Information:
            return QMessageBox::Information;
        case PromptIcon::Error:
            return QMessageBox::Critical;
        case PromptIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

void QtPrompt::Message(std::string_view text, std::string_view caption, PromptIcon icon) {
    const QString title = caption.empty() ? LoadResString(AFX_IDS_APP_TITLE) : ToQString(caption);
    QMessageBox box(BoxIcon(icon), title, ToQString(text), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

PromptAnswer QtPrompt::Ask(std::string_view text, PromptButtons buttons) {
    if (buttons == PromptButtons::FixAndAddOk) {
        QMessageBox box(QMessageBox::Warning, LoadResString(AFX_IDS_APP_TITLE), ToQString(text),
                        QMessageBox::Ok, QApplication::activeWindow());
        const QAbstractButton* fix =
            box.addButton(QStringLiteral("Fix and Add"), QMessageBox::AcceptRole);
        box.setDefaultButton(QMessageBox::Ok);
        box.exec();
        return box.clickedButton() == fix ? PromptAnswer::FixAndAdd : PromptAnswer::Ok;
    }
    QMessageBox::StandardButtons choices = QMessageBox::Ok;
    if (buttons == PromptButtons::YesNo) {
        choices = QMessageBox::Yes | QMessageBox::No;
    } else if (buttons == PromptButtons::YesNoCancel) {
        choices = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    QMessageBox box(QMessageBox::Question, LoadResString(AFX_IDS_APP_TITLE), ToQString(text),
                    choices, QApplication::activeWindow());
    switch (box.exec()) {
        case QMessageBox::Yes:
            return PromptAnswer::Yes;
        case QMessageBox::No:
            return PromptAnswer::No;
        case QMessageBox::Cancel:
            return PromptAnswer::Cancel;
        default:
            break;
    }
    // Closing a Yes/No box without a button counts as No.
    return buttons == PromptButtons::Ok ? PromptAnswer::Ok : PromptAnswer::No;
}

}  // namespace korvana
