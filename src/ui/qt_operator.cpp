#include "ui/qt_operator.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

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

int QtOperator::messageBox(const std::string& prompt, MsgButtons buttons, MsgIcon icon, const std::string& title) {
    QMessageBox box(parent_);
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
    switch (box.exec()) {
        case QMessageBox::Yes: return AnswerYes;
        case QMessageBox::No: return AnswerNo;
        case QMessageBox::Cancel: return AnswerCancel;
        default: return AnswerOk;
    }
}

std::optional<std::string> QtOperator::openFileDialog(const FileDialogRequest& request) {
    const QString file = QFileDialog::getOpenFileName(parent_, QString::fromStdString(request.title),
                                                      QString::fromStdString(request.initialPath),
                                                      qtFileFilter(request.filter));
    if (file.isEmpty()) return std::nullopt;
    return file.toStdString();
}

std::optional<std::string> QtOperator::saveFileDialog(const FileDialogRequest& request) {
    const QString file = QFileDialog::getSaveFileName(parent_, QString::fromStdString(request.title),
                                                      QString::fromStdString(request.initialPath),
                                                      qtFileFilter(request.filter));
    if (file.isEmpty()) return std::nullopt;
    return file.toStdString();
}

void QtOperator::beep() { QApplication::beep(); }

}  // namespace gyrel
