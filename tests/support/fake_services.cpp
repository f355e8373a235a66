#include "support/fake_services.h"

#include "app/features.h"
#include "book/book.h"
#include "book/page_content.h"
#include "book/vocabulary.h"

namespace testing_support {

namespace {

void note(Trace* trace, const QString& event) {
    if (trace) trace->append(event);
}

}  // namespace

app::ProgramSession& session() {
    static app::ProgramSession programSession;
    return programSession;
}

std::unique_ptr<reader::ReaderWindow> openReader(QWidget* loadingPicture) {
    return std::make_unique<reader::ReaderWindow>(session().reader, session().attach(),
                                                  loadingPicture);
}

QString clipName(const sound::SoundClip& clip) {
    const book::Book& b = book::theBook();
    for (int i = 0; i < b.namedClipCount; ++i) {
        if (clip == book::clipAt(b.namedClips[i].clip))
            return QString::fromUtf8(b.namedClips[i].role);
    }
    const qsizetype entry = session().reader.page.PageClips.indexOf(clip);
    if (entry >= 0) return QStringLiteral("entry %1").arg(entry + 1);
    for (int unit = book::kFirstUnit; unit <= book::unitCount(); ++unit) {
        QList<sound::SoundClip> clips;
        book::LoadUnitWordClips(unit, clips);
        const qsizetype word = clips.indexOf(clip);
        if (word >= 0)
            return QStringLiteral("word ") + book::LoadUnitWords(unit).UnitEnglishWords.value(word);
    }
    for (int i = 0; i < b.clipCount; ++i) {
        if (clip.constData() == reinterpret_cast<const char*>(b.clips[i].data))
            return QStringLiteral("clip %1").arg(i);
    }
    return QStringLiteral("unknown clip");
}

void showPageLines(const QStringList& english, const QStringList& chinese) {
    book::PageContent& page = session().reader.page;
    page.EnglishLines = english;
    page.ChineseLines = chinese;
    page.PageClips.clear();
    QList<sound::SoundClip> named;
    const book::Book& b = book::theBook();
    for (int i = 0; i < b.namedClipCount; ++i) named.append(book::clipAt(b.namedClips[i].clip));
    for (int i = 0; page.PageClips.size() < english.size() && i < b.clipCount; ++i) {
        const sound::SoundClip clip = book::clipAt(i);
        if (!named.contains(clip) && !page.PageClips.contains(clip)) page.PageClips.append(clip);
    }
}

void FakeSound::play(const sound::SoundClip& clip) {
    events.append(SoundEvent{SoundEvent::Play, clip});
    note(trace, QStringLiteral("play ") + clipName(clip));
}

void FakeSound::playLooped(const sound::SoundClip& clip) {
    events.append(SoundEvent{SoundEvent::Loop, clip});
    note(trace, QStringLiteral("loop ") + clipName(clip));
}

void FakeSound::stopAll() {
    events.append(SoundEvent{SoundEvent::Stop, {}});
    note(trace, QStringLiteral("stop"));
}

void FakePauser::pause(int milliseconds) {
    pauses.append(milliseconds);
    note(trace, QStringLiteral("pause %1").arg(milliseconds));
    if (during) during();
}

void ScriptedRandom::reseed() {
    ++reseeds;
    note(trace, QStringLiteral("reseed"));
}

QList<sound::SoundClip> FakeSound::played() const {
    QList<sound::SoundClip> clips;
    for (const SoundEvent& e : events) {
        if (e.kind != SoundEvent::Stop) clips.append(e.clip);
    }
    return clips;
}

int FakeSound::stops() const {
    int count = 0;
    for (const SoundEvent& e : events) count += e.kind == SoundEvent::Stop;
    return count;
}

int ScriptedRandom::between(int low, int high) {
    draws.append({low, high});
    int value = low;
    if (!script.empty()) {
        value = script.front();
        script.pop_front();
    }
    note(trace, QStringLiteral("draw %1..%2 -> %3").arg(low).arg(high).arg(value));
    return value;
}

ui::MessageButton FakeMessages::show(QWidget*, const ui::MessageRequest& request) {
    shown.append(request);
    note(trace, QStringLiteral("message ") + request.text);
    if (onShow) onShow(request);
    if (!request.yesNo) return ui::MessageButton::Ok;
    if (answers.empty()) return ui::MessageButton::No;
    const ui::MessageButton answer = answers.front();
    answers.pop_front();
    return answer;
}

QStringList FakeMessages::texts() const {
    QStringList list;
    for (const ui::MessageRequest& r : shown) list.append(r.text);
    return list;
}

FakeServices::FakeServices() : saved_(ui::services()) {
    ui::Services& s = ui::services();
    s.sound = &sound;
    s.pauser = &pauser;
    s.random = &random;
    s.messages = &messages;
    s.shell = &shell;
    sound.trace = &trace;
    pauser.trace = &trace;
    random.trace = &trace;
    messages.trace = &trace;
    session() = app::ProgramSession();
}

FakeServices::~FakeServices() {
    ui::services() = saved_;
}

}  // namespace testing_support
