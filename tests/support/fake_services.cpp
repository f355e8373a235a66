#include "support/fake_services.h"

#include "reader/page_content.h"
#include "reader/reader_state.h"

namespace testing_support {

QList<ui::SoundClip> FakeSound::played() const {
    QList<ui::SoundClip> clips;
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
    if (script.empty()) return low;
    const int value = script.front();
    script.pop_front();
    return value;
}

ui::MessageButton FakeMessages::show(QWidget*, const ui::MessageRequest& request) {
    shown.append(request);
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
    reader::resetReaderState();
    reader::ClearPageContent();
}

FakeServices::~FakeServices() {
    ui::services() = saved_;
}

}  // namespace testing_support
