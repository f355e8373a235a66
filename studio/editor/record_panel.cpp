#include "editor/record_panel.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include "model/book_document.h"
#include "sound/sound.h"
#include "voice/capture_device.h"

namespace studio {

namespace {

QString takeLabel(int number, const voice::Take& take) {
    QString label = QStringLiteral("第 %1 遍  %2 秒").arg(number).arg(take.seconds(), 0, 'f', 1);
    const QString warning = voice::judgeTake(take).warning();
    return warning.isEmpty() ? label : label + QStringLiteral("  ⚠ ") + warning;
}

}  // namespace

RecordPanel::RecordPanel(BookDocument* document, voice::CaptureDevice* microphone,
                         sound::Sound* sound, QWidget* parent)
    : QWidget(parent), document_(document), microphone_(microphone), sound_(sound) {
    recordButton_ = new QPushButton(this);
    recordButton_->setObjectName(QStringLiteral("录音_录音"));
    keepButton_ = new QPushButton(QStringLiteral("保留这一遍 (Enter)"), this);
    keepButton_->setObjectName(QStringLiteral("录音_保留"));
    playButton_ = new QPushButton(QStringLiteral("再听一遍"), this);
    playButton_->setObjectName(QStringLiteral("录音_再听"));
    meter_ = new QProgressBar(this);
    meter_->setObjectName(QStringLiteral("录音_音量"));
    meter_->setRange(0, 100);
    meter_->setTextVisible(false);
    meter_->setMaximumHeight(10);
    takeList_ = new QListWidget(this);
    takeList_->setObjectName(QStringLiteral("录音_几遍"));
    takeList_->setMaximumHeight(80);
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("录音_说明"));
    status_->setWordWrap(true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(recordButton_);
    buttons->addWidget(playButton_);
    buttons->addWidget(keepButton_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(buttons);
    layout->addWidget(meter_);
    layout->addWidget(takeList_);
    layout->addWidget(status_);

    connect(recordButton_, &QPushButton::clicked, this, &RecordPanel::toggleRecording);
    connect(keepButton_, &QPushButton::clicked, this, &RecordPanel::keepChosenTake);
    connect(playButton_, &QPushButton::clicked, this, &RecordPanel::playChosenTake);
    connect(takeList_, &QListWidget::currentRowChanged, this, [this](int row) {
        takes_.choose(row);
        showState();
    });
    drainTimer_.setInterval(20);
    connect(&drainTimer_, &QTimer::timeout, this, &RecordPanel::drainMicrophone);
    showState();
}

RecordPanel::~RecordPanel() {
    if (microphoneOpen_) microphone_->close();
}

void RecordPanel::openMicrophone() {
    if (microphoneOpen_ || !microphone_ || !microphoneError_.isEmpty()) return;
    microphoneOpen_ = microphone_->open(kSampleRate, &microphoneError_);
    if (microphoneOpen_) drainTimer_.start();
}

void RecordPanel::setEntry(int page, int entry) {
    if (recorder_.isRecording()) recorder_.stop();
    page_ = page;
    entry_ = entry;
    takes_.clear();
    if (entry_ >= 0) openMicrophone();
    showTakes();
}

void RecordPanel::drainMicrophone() {
    recorder_.feed(microphone_->takeSamples());
    if (recorder_.isRecording()) meter_->setValue(int(recorder_.level() * 100));
}

void RecordPanel::toggleRecording() {
    if (!microphoneOpen_ || entry_ < 0) return;
    if (!recorder_.isRecording()) {
        recorder_.feed(microphone_->takeSamples());
        recorder_.start();
        showState();
        return;
    }
    recorder_.feed(microphone_->takeSamples());
    voice::Take take = recorder_.stop();
    meter_->setValue(0);
    if (sound_) {
        sound_->stopAll();
        sound_->play(voice::takeAsWav(take));
    }
    takes_.add(std::move(take));
    showTakes();
}

void RecordPanel::playChosenTake() {
    if (takes_.chosen() < 0 || !sound_) return;
    sound_->stopAll();
    sound_->play(voice::takeAsWav(takes_.take(takes_.chosen())));
}

bool RecordPanel::keepChosenTake() {
    if (takes_.chosen() < 0 || page_ < 0 || entry_ < 0) return false;
    // The take goes into the book's recordings folder under a name no other file has, so the
    // recording the line had before stays on disk and undo gives it back.
    QTemporaryDir scratch;
    const QString written = scratch.filePath(QStringLiteral("take.flac"));
    QString error;
    QString relative;
    if (voice::writeTakeFlac(takes_.take(takes_.chosen()), written, &error)) {
        const QString base = QStringLiteral("%1-%2")
                                 .arg(QFileInfo(document_->page(page_).file).completeBaseName())
                                 .arg(entry_ + 1);
        relative = document_->importFile(written, QStringLiteral("recordings"), base, &error);
    }
    if (relative.isEmpty() || !document_->setEntryAudio(page_, entry_, relative)) {
        emit problem(error.isEmpty() ? QStringLiteral("录音没有保存。") : error);
        return false;
    }
    takes_.clear();
    showTakes();
    emit nextLineRequested();
    return true;
}

void RecordPanel::showTakes() {
    takeList_->blockSignals(true);
    takeList_->clear();
    for (int i = 0; i < takes_.count(); ++i) takeList_->addItem(takeLabel(i + 1, takes_.take(i)));
    takeList_->setCurrentRow(takes_.chosen());
    takeList_->blockSignals(false);
    showState();
}

void RecordPanel::showState() {
    const bool line = entry_ >= 0;
    if (!microphoneOpen_ && line) {
        recordButton_->setText(QStringLiteral("没有话筒"));
        recordButton_->setToolTip(microphoneError_);
    } else {
        recordButton_->setText(recorder_.isRecording() ? QStringLiteral("停止 (R)")
                                                       : QStringLiteral("录音 (R)"));
        recordButton_->setToolTip({});
    }
    recordButton_->setEnabled(microphoneOpen_ && line);
    const bool hasTake = takes_.chosen() >= 0 && !recorder_.isRecording();
    keepButton_->setEnabled(hasTake);
    playButton_->setEnabled(hasTake);
    if (!line)
        status_->setText(QStringLiteral("选一句再录音。"));
    else if (recorder_.isRecording())
        status_->setText(QStringLiteral("正在录音……读完按 R。"));
    else if (hasTake)
        status_->setText(voice::judgeTake(takes_.take(takes_.chosen())).warning());
    else
        status_->setText(QStringLiteral("按 R 开始录这一句。"));
}

}  // namespace studio
