#include "ui/qt_operator.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStringList>

#include "platform/working_folder.h"

namespace gyrel {

QString qtFileFilter(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split('|');
    QStringList entries;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        QStringList patterns;
        for (const QString& raw : parts[i + 1].split(';', Qt::SkipEmptyParts)) {
            QString p = raw.trimmed();
            if (p == "*.*") p = "*";
            for (const QString& v : {p, p.toLower(), p.toUpper()})
                if (!patterns.contains(v)) patterns << v;
        }
        // Qt reads the patterns from the last parentheses of the entry.
        const int open = description.lastIndexOf('(');
        if (open >= 0 && description.endsWith(')')) description = description.left(open).trimmed();
        entries << description + " (" + patterns.join(' ') + ")";
    }
    return entries.join(";;");
}

QWidget* QtOperator::owner() const {
    QWidget* w = QApplication::activeModalWidget();
    if (!w) w = QApplication::activeWindow();
    // A progress window is not what the operator works in: its starter is.
    while (w && w->objectName() == "WaitForm" && w->parentWidget()) w = w->parentWidget()->window();
    if (!w || !w->isVisible()) w = parent_;
    return w;
}

QString dialogStartPath(const std::string& proposed) {
    const QString path = QString::fromStdString(proposed);
    const QFileInfo info(path);
    if (!path.isEmpty() && info.isAbsolute() && info.dir().exists()) return path;
    const QString home = QString::fromStdString(workingFolder());
    if (path.isEmpty()) return home;
    return QDir(home).filePath(info.fileName());
}

int QtOperator::messageBox(const std::string& prompt, MsgButtons buttons, MsgIcon icon, const std::string& title) {
    QMessageBox box(owner());
    box.setWindowTitle(QString::fromStdString(title));
    box.setText(QString::fromStdString(prompt));
    switch (icon) {
        case MsgIcon::Stop: box.setIcon(QMessageBox::Critical); break;
        case MsgIcon::Question: box.setIcon(QMessageBox::Question); break;
        case MsgIcon::Exclamation: box.setIcon(QMessageBox::Warning); break;
        case MsgIcon::Information: box.setIcon(QMessageBox::Information); break;
        case MsgIcon::None: box.setIcon(QMessageBox::NoIcon); break;
    }
    switch (buttons) {
        case MsgButtons::Ok:
            box.setStandardButtons(QMessageBox::Ok);
            box.setEscapeButton(QMessageBox::Ok);
            break;
        case MsgButtons::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            box.setEscapeButton(QMessageBox::No);
            break;
        case MsgButtons::OkCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            box.setEscapeButton(QMessageBox::Cancel);
            break;
        case MsgButtons::YesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            box.setEscapeButton(QMessageBox::Cancel);
            break;
    }
    const WindowTexts& t = windowTextsFor(language_ ? language_() : std::string("EN"));
    const std::pair<QMessageBox::StandardButton, const char*> names[] = {
        {QMessageBox::Yes, t.yes}, {QMessageBox::No, t.no}, {QMessageBox::Ok, t.ok}, {QMessageBox::Cancel, t.cancel}};
    for (const auto& [which, text] : names)
        if (QAbstractButton* b = box.button(which)) b->setText(QString::fromUtf8(text));
    switch (box.exec()) {
        case QMessageBox::Yes: return AnswerYes;
        case QMessageBox::No: return AnswerNo;
        case QMessageBox::Cancel: return AnswerCancel;
        default: return AnswerOk;
    }
}

std::optional<std::string> QtOperator::openFileDialog(const FileDialogRequest& request) {
    const QString file = QFileDialog::getOpenFileName(owner(), QString::fromStdString(request.title),
                                                      dialogStartPath(request.initialPath),
                                                      qtFileFilter(request.filter));
    if (file.isEmpty()) return std::nullopt;
    return file.toStdString();
}

std::optional<std::string> QtOperator::saveFileDialog(const FileDialogRequest& request) {
    const QString file = QFileDialog::getSaveFileName(owner(), QString::fromStdString(request.title),
                                                      dialogStartPath(request.initialPath),
                                                      qtFileFilter(request.filter));
    if (file.isEmpty()) return std::nullopt;
    return file.toStdString();
}

void QtOperator::beep() { QApplication::beep(); }

}  // namespace gyrel
