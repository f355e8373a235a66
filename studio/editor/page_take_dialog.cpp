#include "editor/page_take_dialog.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QUndoStack>
#include <QVBoxLayout>

#include "editor/take_wave_view.h"
#include "model/book_document.h"
#include "sound/sound.h"
#include "voice/capture_device.h"

namespace studio {

namespace {

constexpr int kTakeRate = 44100;

// The lines a teacher reads for the page: entries whose recording is the English voice or a
// file of her own, with something to say.
QList<int> linesToRecord(const tool::PageSource& page) {
    QList<int> entries;
    for (int i = 0; i < page.entries.size(); ++i) {
        const tool::Recording& recording = page.entries[i].recording;
        const bool english = recording.voice == QLatin1String("en") || recording.supplied();
        if (english && !recording.text.trimmed().isEmpty()) entries.append(i);
    }
    return entries;
}

// What does not fit, in the teacher's words, naming the lines by their numbers.
QString problemText(const voice::PageTake& take) {
    const int first = take.problemFirstLine();
    const int last = take.problemLastLine();
    QString lines;
    if (first >= 0 && last > first)
        lines = QStringLiteral("第 %1 到第 %2 句中的一句").arg(first + 1).arg(last + 1);
    else if (first >= 0)
        lines = QStringLiteral("第 %1 句（%2）").arg(first + 1).arg(take.lines().value(first));
    switch (take.problem()) {
        case tool::TakeProblem::LineMissing:
            return QStringLiteral("录音里好像少了%1。").arg(lines);
        case tool::TakeProblem::LineRepeated:
            return QStringLiteral("录音里%1好像读了两遍。").arg(lines);
        case tool::TakeProblem::LineMisfit:
            return QStringLiteral("%1的长短和文字对不上。")
                .arg(lines.isEmpty() ? QStringLiteral("有一句") : lines);
        default:
            return QStringLiteral("录音的停顿分不出 %1 句，先按停顿和句子长短分好了。")
                .arg(take.lineCount());
    }
}

}  // namespace

PageTakeDialog::PageTakeDialog(BookDocument* document, int page, voice::CaptureDevice* microphone,
                               sound::Sound* sound, QWidget* parent)
    : QDialog(parent),
      document_(document),
      page_(page),
      microphone_(microphone),
      sound_(sound),
      entries_(linesToRecord(document->page(page))),
      recorder_(kTakeRate, 0) {
    setObjectName(QStringLiteral("整页录音"));
    setWindowTitle(QStringLiteral("整页一遍录音：第 %1 页").arg(document->page(page).pageNumber));
    resize(820, 320);
    auto* open = new QPushButton(QStringLiteral("打开录音文件…"), this);
    open->setObjectName(QStringLiteral("整页录音_打开"));
    recordButton_ = new QPushButton(this);
    recordButton_->setObjectName(QStringLiteral("整页录音_录音"));
    tapButton_ = new QPushButton(QStringLiteral("边听边按空格分句"), this);
    tapButton_->setObjectName(QStringLiteral("整页录音_边听边按"));
    message_ = new QLabel(this);
    message_->setObjectName(QStringLiteral("整页录音_说明"));
    message_->setWordWrap(true);
    wave_ = new TakeWaveView(&take_, this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    acceptButton_ =
        buttons->addButton(QStringLiteral("保存这些句子的录音"), QDialogButtonBox::AcceptRole);
    acceptButton_->setObjectName(QStringLiteral("整页录音_保存"));

    auto* tools = new QHBoxLayout;
    tools->addWidget(open);
    tools->addWidget(recordButton_);
    tools->addWidget(tapButton_);
    tools->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(tools);
    layout->addWidget(message_);
    layout->addWidget(wave_, 1);
    layout->addWidget(buttons);

    connect(open, &QPushButton::clicked, this, &PageTakeDialog::chooseFile);
    connect(recordButton_, &QPushButton::clicked, this, &PageTakeDialog::toggleRecording);
    connect(tapButton_, &QPushButton::clicked, this, &PageTakeDialog::startTapping);
    connect(wave_, &TakeWaveView::clipClicked, this, &PageTakeDialog::playClip);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (writeClips()) accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    tick_.setInterval(20);
    connect(&tick_, &QTimer::timeout, this, [this] {
        if (recorder_.isRecording()) recorder_.feed(microphone_->takeSamples());
        if (nextTap_ >= 0)
            wave_->setCursorSample(qsizetype(playing_.elapsed() * take_.rate() / 1000));
    });
    QString error;
    microphoneOpen_ = microphone_ && microphone_->open(kTakeRate, &error);
    recordButton_->setToolTip(error);
    showState();
}

PageTakeDialog::~PageTakeDialog() {
    if (microphoneOpen_) microphone_->close();
}

void PageTakeDialog::chooseFile() {
    const QString path = QFileDialog::getOpenFileName(
        this, QStringLiteral("打开整页的录音"), document_->folder(),
        QStringLiteral(
            "录音 (*.wav *.flac *.mp3 *.m4a *.aac *.ogg *.opus *.amr *.3gp *.webm);;所有文件 (*)"));
    if (!path.isEmpty()) loadFile(path);
}

bool PageTakeDialog::loadFile(const QString& path) {
    QString error;
    if (!take_.load(path, &error)) {
        message_->setText(error);
        return false;
    }
    cut();
    return true;
}

void PageTakeDialog::toggleRecording() {
    if (!microphoneOpen_) return;
    if (!recorder_.isRecording()) {
        microphone_->takeSamples();  // what came before the press is not part of the page
        recorder_.start();
        tick_.start();
        showState();
        return;
    }
    recorder_.feed(microphone_->takeSamples());
    const voice::Take take = recorder_.stop();
    take_.setSamples(take.samples, take.sampleRate);
    cut();
}

void PageTakeDialog::cut() {
    QStringList lines;
    for (int entry : entries_) lines.append(document_->page(page_).entries[entry].recording.text);
    take_.split(lines);
    wave_->refresh();
    showState();
}

void PageTakeDialog::startTapping() {
    if (!take_.hasClips() || !sound_) return;
    sound_->stopAll();
    voice::Take whole;
    whole.sampleRate = take_.rate();
    whole.samples.reserve(take_.samples().size());
    for (float value : take_.samples())
        whole.samples.push_back(std::int16_t(std::clamp(value * 32768.0f, -32768.0f, 32767.0f)));
    sound_->play(voice::takeAsWav(whole));
    playing_.start();
    nextTap_ = 0;
    tick_.start();
    setFocus();
    showState();
}

void PageTakeDialog::tap() {
    if (nextTap_ < 0 || nextTap_ >= take_.lineCount()) return;
    take_.tapLineStart(nextTap_, qsizetype(playing_.elapsed() * take_.rate() / 1000));
    ++nextTap_;
    if (nextTap_ == take_.lineCount()) nextTap_ = -1;
    wave_->refresh();
    showState();
}

void PageTakeDialog::playClip(int line) {
    if (!sound_ || line < 0 || line >= take_.lineCount()) return;
    sound_->stopAll();
    sound_->play(take_.clipWav(line));
}

void PageTakeDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && nextTap_ >= 0) {
        tap();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool PageTakeDialog::writeClips() {
    if (!take_.hasClips()) return false;
    QTemporaryDir scratch;
    QStringList files;
    QString error;
    const QString base = QFileInfo(document_->page(page_).file).completeBaseName();
    for (int line = 0; line < take_.lineCount() && error.isEmpty(); ++line) {
        const QString written = scratch.filePath(QStringLiteral("%1.flac").arg(line));
        if (!voice::writeTakeFlac(take_.clipTake(line), written, &error)) break;
        const QString name = QStringLiteral("%1-%2").arg(base).arg(entries_[line] + 1);
        const QString relative =
            document_->importFile(written, QStringLiteral("recordings"), name, &error);
        if (!relative.isEmpty()) files.append(relative);
    }
    if (files.size() != take_.lineCount()) {
        message_->setText(error.isEmpty() ? QStringLiteral("录音没有保存。") : error);
        return false;
    }
    document_->undoStack()->beginMacro(
        QStringLiteral("整页录音：第 %1 页").arg(document_->page(page_).pageNumber));
    for (int line = 0; line < take_.lineCount(); ++line)
        document_->setEntryAudio(page_, entries_[line], files[line]);
    document_->undoStack()->endMacro();
    return true;
}

void PageTakeDialog::showState() {
    recordButton_->setEnabled(microphoneOpen_);
    recordButton_->setText(!microphoneOpen_          ? QStringLiteral("没有话筒")
                           : recorder_.isRecording() ? QStringLiteral("停止录音")
                                                     : QStringLiteral("录整页"));
    tapButton_->setEnabled(take_.hasClips() && sound_);
    acceptButton_->setEnabled(take_.hasClips() && !recorder_.isRecording());
    QString text;
    if (entries_.isEmpty())
        text = QStringLiteral("这一页没有要录的英语句子。");
    else if (recorder_.isRecording())
        text = QStringLiteral("正在录音：把这一页的 %1 句按顺序读一遍，读完按“停止录音”。")
                   .arg(entries_.size());
    else if (take_.samples().empty())
        text = QStringLiteral("录一遍整页（%1 句），或者打开一个录音文件。").arg(entries_.size());
    else if (!take_.hasClips())
        text = QStringLiteral("录音里听不到说话声。");
    else if (nextTap_ >= 0)
        text = QStringLiteral("听到第 %1 句开始时按空格：%2")
                   .arg(nextTap_ + 1)
                   .arg(take_.lines()[nextTap_]);
    else if (take_.problem() != tool::TakeProblem::None)
        text = problemText(take_) + QStringLiteral("拖动红线，或者“边听边按空格分句”来改。");
    else
        text =
            QStringLiteral("分成了 %1 句：点一段听一听，拖动红线可以改。").arg(take_.lineCount());
    message_->setText(text);
}

}  // namespace studio
