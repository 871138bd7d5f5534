// Drawing the editor logic's state on the controls of Form1.
#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextEdit>

#include "platform/cp1252.h"
#include "ui/editor_text.h"
#include "ui/editor_window.h"
#include "ui/multi_panel.h"

namespace gyrel {

namespace {

QString q(const char* utf8) { return QString::fromUtf8(utf8); }
QString toBox(const std::string& bytes) { return QString::fromStdString(cp1252ToUtf8(bytes)); }

void setBoxText(QLineEdit* box, const std::string& bytes) {
    const QString text = toBox(bytes);
    if (box->text() != text) box->setText(text);
}

void setBackground(QWidget* w, QPalette::ColorRole role, ColourValue value) {
    QPalette p = w->palette();
    p.setColor(role, colourOf(value));
    w->setPalette(p);
}

QTextCharFormat formatOf(Rgb colour, int size, bool bold, bool italic) {
    QTextCharFormat f;
    f.setForeground(colourOf(colour));
    f.setFontPointSize(size);
    f.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(italic);
    return f;
}

}  // namespace

void EditorWindow::renderTexts() {
    setWindowTitle(q(ctx_.ui(1)));
    MenuShow->setTitle(q(ctx_.ui(2)));
    MenuLoadProgram->setText(q(ctx_.ui(6)));
    MenuSaveProgram->setText(q(ctx_.ui(7)));
    MenuLoadList->setText(q(ctx_.ui(8)));
    MenuSaveList->setText(q(ctx_.ui(9)));
    MenuImport->setTitle(q(ctx_.ui(10)));
    MenuDeskpl->setText(q(ctx_.ui(11)));
    Menuencoder->setText(q(ctx_.ui(12)));
    MenEnableGraphic->setText(q(ctx_.ui(14)));
    Command2->setText(q(ctx_.ui(15)));
    Option1->setText(q(ctx_.ui(16)));
    Option2->setText(q(ctx_.ui(17)));
    Check1->setText(q(ctx_.ui(18)));
    SelezMulti->setText(q(ctx_.ui(20)));
    MenuSettings->setText(q(ctx_.ui(24)));
    Label1[0]->setText(q(ctx_.ui(25)));
    Label1[1]->setText(q(ctx_.ui(26)));
    for (int i = 0; i < 16; ++i) PulsInvio[i]->setText(q(ctx_.ui(22)) + " out " + QString::number(i + 1));
    PulsAppend[0]->setText(q(ctx_.ui(19)));
    PulsAppend[1]->setText(q(ctx_.ui(18)));
}

void EditorWindow::renderProgBox() {
    EditorState& st = editor_->st;
    if (st.ProgBox != shownText_) {
        const int caret = ProgBox->textCursor().position();
        ProgBox->setPlainText(programTextForDisplay(st.ProgBox));
        QTextCursor c = ProgBox->textCursor();
        c.setPosition(std::min(caret, ProgBox->document()->characterCount() - 1));
        ProgBox->setTextCursor(c);
        shownText_ = st.ProgBox;
        shownStyles_.clear();
        shownFontSize_ = 0;
    }
    const int fontSize = ctx_.model.info().programFontSize;
    if (st.ProgBoxStyles != shownStyles_ || fontSize != shownFontSize_) {
        QTextCursor all(ProgBox->document());
        all.select(QTextCursor::Document);
        all.setCharFormat(formatOf({0, 0, 0}, fontSize, false, false));
        const int last = ProgBox->document()->characterCount() - 1;
        for (const StyledRange& r : st.ProgBoxStyles) {
            QTextCursor c(ProgBox->document());
            c.setPosition(std::min(displayIndexOf(st.ProgBox, r.start), last));
            c.setPosition(std::min(displayIndexOf(st.ProgBox, r.start + r.length), last), QTextCursor::KeepAnchor);
            c.setCharFormat(formatOf(r.colour, r.fontSize, r.bold, r.italic));
        }
        shownStyles_ = st.ProgBoxStyles;
        shownFontSize_ = fontSize;
    }
    if (st.ProgBoxFocus) {
        st.ProgBoxFocus = false;
        const int last = ProgBox->document()->characterCount() - 1;
        QTextCursor c = ProgBox->textCursor();
        if (st.ProgBoxSelect) {
            // A selection is made once, for the error being shown, and then forgotten.
            st.ProgBoxSelect = false;
            c.setPosition(std::min(displayIndexOf(st.ProgBox, st.SelStart), last));
            c.setPosition(std::min(displayIndexOf(st.ProgBox, st.SelStart + st.SelLength), last),
                          QTextCursor::KeepAnchor);
        } else {
            c.clearSelection();  // the caret stays where it was; no earlier selection comes back
        }
        ProgBox->setTextCursor(c);
        ProgBox->setFocus(Qt::OtherFocusReason);
    }
}

void EditorWindow::render() {
    if (rendering_) return;
    rendering_ = true;
    Editor& ed = *editor_;
    EditorState& st = ed.st;
    const EditorLayout& layout = ctx_.editorLayout;
    renderTexts();

    Frame1->setTitle(QString::fromStdString(ed.view.Frame1Caption));
    // A light caption colour (the yellow of a modified text) is drawn on a dark
    // ground so that it reads; a dark one on the window's own ground.
    const QColor captionColour = colourOf(ed.view.Frame1Colour);
    const QString ground = captionColour.lightnessF() > 0.6 ? " background-color: rgb(48, 48, 48); padding: 0 3px;" : "";
    const QString sheet = QString("QGroupBox#Frame1::title { color: %1;%2 }").arg(captionColour.name(), ground);
    if (Frame1->styleSheet() != sheet) Frame1->setStyleSheet(sheet);
    ProgBox->setMinimumHeight(layout.progBoxHeight / 15);
    renderProgBox();
    ButtVerificaPrg->setEnabled(st.ButtVerificaPrgEnabled);

    Frame2->setVisible(layout.offsetsPanel);
    Check1->setChecked(st.Check1);
    Option1->setChecked(st.Option1);
    Option2->setChecked(st.Option2);
    for (int i = 0; i < 16; ++i) {
        check2[i]->setChecked(st.check2[i]);
        setBackground(check2[i], QPalette::Window, st.check2Back[i]);
        setBoxText(Text4[i], st.Text4[i]);
        setBoxText(Text5[i], st.Text5[i]);
        setBackground(Text4[i], QPalette::Base, st.Text4Back[i]);
        setBackground(Text5[i], QPalette::Base, st.Text5Back[i]);
    }

    Frame4->setVisible(layout.outputGrid712);
    for (int i = 0; i < 16; ++i) {
        setBoxText(TxtOFS[i], ed.view.TxtOFS[i]);
        setBoxText(TxtCON[i], ed.view.TxtCON[i]);
        setBoxText(TxtCOF[i], ed.view.TxtCOF[i]);
        PulsInvio[i]->setEnabled(transfers_ != nullptr);
    }
    CmdDFT->setEnabled(transfers_ != nullptr);
    for (QPushButton* b : PulsAppend) b->setEnabled(layout.appendButtons);
    CmdRST->setEnabled(transfers_ != nullptr);
    Command5->setEnabled(transfers_ != nullptr);
    Command1->setEnabled(transfers_ != nullptr);
    if (st.Text2 != shownLog_) {
        Text2->setPlainText(programTextForDisplay(st.Text2));
        shownLog_ = st.Text2;
    }

    Frame3->render();
    SelezMulti->setVisible(layout.multiFileBox);
    SelezMulti->setChecked(st.SelezMulti);
    VScroll1->setEnabled(layout.selectorEnabled);
    VScroll1->setValue(ed.view.VScroll1);
    setBoxText(Text1, ed.view.Text1);
    Command2->setEnabled(onDownload && st.Command2Enabled);

    MenuLoadList->setEnabled(layout.menuLists);
    MenuSaveList->setEnabled(layout.menuLists);
    MenuDeskpl->setEnabled(layout.menuDeskpl);
    Menuencoder->setEnabled(onUpload && layout.menuUpload);
    MenuSettings->setEnabled(onOriginDialog && layout.menuOrigin);
    MenEnableGraphic->setEnabled(layout.menuGraph);
    MenEnableGraphic->setChecked(ed.view.MenEnableGraphicChecked);
    rendering_ = false;
}

}  // namespace gyrel
