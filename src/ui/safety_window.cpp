#include "ui/safety_window.h"

#include <QAction>
#include <algorithm>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <vector>

#include "device/editor_transfers.h"
#pragma push_macro("slots")
#undef slots
#include "lang/safety_texts.h"
#include "safety/backup.h"
#include "safety/backup_list.h"
#include "safety/compare_list.h"
#include "safety/restore.h"
#include "safety/verify_download.h"
#pragma pop_macro("slots")
#include "ui/editor_window.h"
#include "ui/ui_util.h"

namespace gyrel::ui {

namespace {

const SafetyTexts& texts(const Context& ctx) { return safetyTextsFor(ctx.LanguageCode); }

// Row colours of the compare report.
QColor rowColour(SlotState s) {
    switch (s) {
        case SlotState::Same:
        case SlotState::EmptyBoth: return QColor(204, 255, 204);
        case SlotState::NotListed: return QColor(255, 255, 255);
        case SlotState::ReadFailed: return QColor(238, 255, 51);
        default: return QColor(255, 204, 204);
    }
}

const char* stateText(const SafetyTexts& t, SlotState s) {
    switch (s) {
        case SlotState::Same: return t.same;
        case SlotState::Differs: return t.differs;
        case SlotState::EmptyOnDevice: return t.emptyOnDevice;
        case SlotState::FileMissing: return t.fileMissing;
        case SlotState::FileBad: return t.fileBad;
        case SlotState::ReadFailed: return t.readFailed;
        case SlotState::EmptyBoth: return t.emptySame;
        case SlotState::NotEmpty: return t.notEmpty;
        case SlotState::NotListed: return t.notListed;
    }
    return "";
}

const char* kListFilter = "List Files(*.lis)|*.lis|All Files (*.*)|*.*";

}  // namespace

CompareReportWindow::CompareReportWindow(Context& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx) {
    setObjectName("CompareReport");
    auto* layout = new QVBoxLayout(this);
    table = new QTableWidget(16, 3, this);
    table->setObjectName("CompareTable");
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    layout->addWidget(table);
    auto* buttons = new QHBoxLayout;
    saveButton = new QPushButton(this);
    saveButton->setObjectName("CompareSave");
    closeButton = new QPushButton(this);
    closeButton->setObjectName("CompareClose");
    buttons->addStretch(1);
    buttons->addWidget(saveButton);
    buttons->addWidget(closeButton);
    layout->addLayout(buttons);
    resize(560, 480);
    QObject::connect(closeButton, &QPushButton::clicked, this, &QDialog::hide);
    QObject::connect(saveButton, &QPushButton::clicked, this, [this] {
        const auto path = ctx_.svc.op.saveFileDialog({texts(ctx_).compareTitle, "Text Files (*.txt)|*.txt|All Files (*.*)|*.*", "compare.txt"});
        if (!path || path->empty()) return;
        try {
            ctx_.svc.fs.replaceFile(*path, text_);
        } catch (const FileError& e) {
            ctx_.svc.op.messageBox(e.what(), MsgButtons::Ok, MsgIcon::Exclamation, *path);
        }
    });
}

void CompareReportWindow::show(const CompareReport& report) {
    const SafetyTexts& t = texts(ctx_);
    setWindowTitle(qs(std::string(t.compareTitle) + " - " + report.listPath));
    table->setHorizontalHeaderLabels({qs(t.columnSlot), qs(t.columnState), qs(t.columnDetail)});
    saveButton->setText(qs(t.saveButton));
    closeButton->setText(qs(t.closeButton));
    text_ = compareReportText(report);
    for (int k = 0; k < 16; ++k) {
        const SlotComparison& c = report.bySlot[static_cast<std::size_t>(k)];
        std::string detail = describeSlot(c);
        detail = detail.substr(std::min(detail.size(), std::to_string(k + 1).size() + 1 + std::string(stateWord(c.state)).size() + 1));
        const QString cells[3] = {QString::number(k + 1), qs(stateText(t, c.state)), qs(detail)};
        for (int col = 0; col < 3; ++col) {
            auto* item = new QTableWidgetItem(cells[col]);
            item->setBackground(rowColour(c.state));
            table->setItem(k, col, item);
        }
    }
    QDialog::show();
    raise();
}

SafetyProgressWindow::SafetyProgressWindow(Context& ctx) {
    setObjectName("SafetyProgress");
    auto* layout = new QVBoxLayout(this);
    slot = new QLabel(this);
    slot->setObjectName("SafetySlot");
    count = new QProgressBar(this);
    count->setObjectName("SafetyCount");
    count->setFormat("%v / %m");
    left = new QLabel(this);
    left->setObjectName("SafetyTimeLeft");
    cancel = new QPushButton("Cancel", this);
    cancel->setObjectName("SafetyCancel");
    layout->addWidget(slot);
    layout->addWidget(count);
    layout->addWidget(left);
    layout->addWidget(cancel, 0, Qt::AlignRight);
    QObject::connect(cancel, &QPushButton::clicked, this, [this, &ctx] {
        cancelled = true;
        ctx.CancelRequested = true;
    });
}

struct SafetyRunner::Actions {
    std::vector<QPointer<QAction>> jobs;  // backup, restore, compare of every editor attached
    std::vector<QPointer<QAction>> verify;
};

SafetyRunner::SafetyRunner(Context& ctx, SerialLink& link)
    : ctx_(ctx), link_(link), progress_(std::make_unique<SafetyProgressWindow>(ctx)),
      report_(std::make_unique<CompareReportWindow>(ctx)), actions_(std::make_unique<Actions>()) {}

SafetyRunner::~SafetyRunner() = default;

bool SafetyRunner::available() const { return ctx_.model.info().upload != UploadKind::None; }

void SafetyRunner::attach(EditorWindow& editor) {
    if (editor.property("safetyAttached").toBool()) return;
    editor.setProperty("safetyAttached", true);
    QMenu* file = editor.findChild<QMenu*>("MenuFile");
    QMenu* tools = editor.findChild<QMenu*>("MenuShow");
    if (file) {
        QAction* exit = editor.findChild<QAction*>("Exit");
        QAction* sep = new QAction(file);
        sep->setSeparator(true);
        file->insertAction(exit, sep);
        const char* names[3] = {"MenuBackup", "MenuRestore", "MenuCompare"};
        for (int i = 0; i < 3; ++i) {
            auto* a = new QAction(file);
            a->setObjectName(names[i]);
            file->insertAction(exit, a);
            actions_->jobs.push_back(a);
            QObject::connect(a, &QAction::triggered, a, [this, i] {
                if (i == 0) backup();
                else if (i == 1) restore();
                else compare();
            });
        }
        QObject::connect(file, &QMenu::aboutToShow, file, [this] { relabel(); });
    }
    if (tools) {
        auto* v = tools->addAction("");
        v->setObjectName("MenuVerifyAfterDownload");
        v->setCheckable(true);
        actions_->verify.push_back(v);
        QObject::connect(v, &QAction::toggled, v, [this](bool on) { ctx_.settings.VerifyAfterDownload = on ? 1 : 0; });
        QObject::connect(tools, &QMenu::aboutToShow, tools, [this] { relabel(); });
    }
    if (EditorTransfers* tr = editor.transfers()) {
        auto download = editor.onDownload;
        editor.onDownload = [download, tr] {
            if (download) download();
            verifyAfterDownload(tr->env, tr->dl);
        };
    }
    relabel();
}

void SafetyRunner::relabel() {
    const SafetyTexts& t = texts(ctx_);
    const char* captions[3] = {t.backupEntry, t.restoreEntry, t.compareEntry};
    for (std::size_t i = 0; i < actions_->jobs.size(); ++i) {
        QAction* a = actions_->jobs[i];
        if (!a) continue;
        a->setText(qs(captions[i % 3]));
        a->setEnabled(available() && !running_);
    }
    for (QAction* v : actions_->verify) {
        if (!v) continue;
        v->setText(qs(t.verifyEntry));
        v->setEnabled(available());
        v->setChecked(ctx_.settings.VerifyAfterDownload != 0);
    }
}

bool SafetyRunner::begin(const char* title) {
    if (running_ || ctx_.EditorBusy || !available()) return false;
    running_ = true;
    progress_->cancelled = false;
    progress_->setWindowTitle(qs(title));
    progress_->slot->clear();
    progress_->left->clear();
    progress_->count->setRange(0, 1);
    progress_->count->setValue(0);
    progress_->show();
    relabel();
    return true;
}

void SafetyRunner::end() {
    progress_->hide();
    running_ = false;
    relabel();
}

namespace {

JobHooks hooksFor(Context& ctx, SafetyProgressWindow& w) {
    JobHooks h;
    h.progress = [&ctx, &w](const JobProgress& p) {
        const SafetyTexts& t = texts(ctx);
        w.slot->setText(qs(withNumber(t.slotOf, p.slot)));
        w.count->setRange(0, std::max(1, p.total));
        w.count->setValue(p.done);
        w.left->setText(p.msLeft < 0 ? QString() : qs(withNumber(t.timeLeft, static_cast<long long>(p.msLeft / 1000 + 0.5))));
    };
    h.cancelled = [&w] { return w.cancelled; };
    return h;
}

}  // namespace

void SafetyRunner::backup() {
    const SafetyTexts& t = texts(ctx_);
    if (!available()) return;
    const auto folder = ctx_.svc.op.saveFileDialog({t.backupTitle, "All Files (*.*)|*.*", "backup"});
    if (!folder || folder->empty() || !begin(t.backupTitle)) return;
    const BackupReport r = runBackup(ctx_, link_, *folder, hooksFor(ctx_, *progress_));
    end();
    ctx_.svc.op.messageBox(backupReportText(ctx_, r), MsgButtons::Ok,
                           r.complete ? MsgIcon::Information : MsgIcon::Exclamation, t.backupTitle);
}

void SafetyRunner::restore() {
    const SafetyTexts& t = texts(ctx_);
    if (!available()) return;
    const auto list = ctx_.svc.op.openFileDialog({t.restoreTitle, kListFilter, kBackupListName});
    if (!list || list->empty() || !begin(t.restoreTitle)) return;
    const RestoreReport r = runRestore(ctx_, link_, *list, hooksFor(ctx_, *progress_));
    end();
    if (r.end == RestoreReport::End::Declined) return;
    ctx_.svc.op.messageBox(restoreReportText(ctx_, r), MsgButtons::Ok,
                           r.end == RestoreReport::End::Verified ? MsgIcon::Information : MsgIcon::Exclamation,
                           t.restoreTitle);
}

void SafetyRunner::compare() {
    const SafetyTexts& t = texts(ctx_);
    if (!available()) return;
    const auto list = ctx_.svc.op.openFileDialog({t.compareTitle, kListFilter, ""});
    if (!list || list->empty() || !begin(t.compareTitle)) return;
    const CompareReport r = runCompare(ctx_, link_, *list, hooksFor(ctx_, *progress_));
    end();
    if (r.refused) {
        ctx_.svc.op.messageBox(r.why, MsgButtons::Ok, MsgIcon::Exclamation, t.compareTitle);
        return;
    }
    report_->show(r);
}

}  // namespace gyrel::ui
