#include "exercises/dictation_screen.h"

#include <QPlainTextEdit>

#include "book/book.h"
#include "book/vocabulary.h"
#include "ui/controls.h"

namespace exercises {

namespace {

ui::PictureButton* addPictureButton(ui::PictureBox* screen, const QString& name, QRect geometry,
                                    const char* picture, const QString& caption, bool enabled) {
    auto* button = new ui::PictureButton(screen);
    ui::place(button, name, geometry.x(), geometry.y(), geometry.width(), geometry.height());
    button->setPicture(book::picture(picture));
    button->setText(caption);
    button->setEnabled(enabled);
    // Pressing a button must not take the focus from the typing box: the child skips or
    // replays a word and goes on typing.
    button->setFocusPolicy(Qt::NoFocus);
    ui::setKeepsSizeWhenScaled(button);
    return button;
}

ui::TransparentLabel* addLabel(ui::PictureBox* screen, const QString& name, QRect geometry,
                               const QColor& colour) {
    auto* label = new ui::TransparentLabel(screen);
    ui::place(label, name, geometry.x(), geometry.y(), geometry.width(), geometry.height());
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setFont(ui::songFont(-1, 29));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    return label;
}

}  // namespace

void buildDictationScreen(ui::PictureBox* screen) {
    auto* units = new ui::ComboBox(screen);
    ui::place(units, QStringLiteral("组合框_背单词课时选择"), 124, 97, 144, 29);
    for (int unit = book::kFirstUnit; unit <= book::unitCount(); ++unit)
        units->addItem(book::unitName(unit), unit);
    auto* order = new ui::ComboBox(screen);
    ui::place(order, QStringLiteral("组合框_背单词顺序选择"), 324, 96, 123, 29);
    order->addItem(QStringLiteral("课本顺序"), 1);
    order->addItem(QStringLiteral("随机顺序"), 2);
    ui::setKeepsSizeWhenScaled(units);
    ui::setKeepsSizeWhenScaled(order);
    auto* meaning = new ui::CheckBox(QStringLiteral("是否显示中文"), screen);
    ui::place(meaning, QStringLiteral("选择框_是否显示中文"), 490, 98, 161, 24);
    meaning->setChecked(true);
    ui::setKeepsSizeWhenScaled(meaning);

    addLabel(screen, QStringLiteral("透明标签单词总数和错误"), {198, 145, 478, 48}, Qt::red);
    auto* typing = new ui::EditBox(screen);
    ui::place(typing, QStringLiteral("编辑框背单词"), 196, 197, 312, 48);
    typing->setEnabled(false);
    auto* record = new QPlainTextEdit(screen);
    ui::place(record, QStringLiteral("编辑框错误记录"), 194, 197, 312, 188);
    record->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    record->setReadOnly(true);
    record->hide();
    addLabel(screen, QStringLiteral("透明标签_对错判断"), {534, 200, 44, 40}, Qt::red);
    addLabel(screen, QStringLiteral("透明标签_背单词的汉语翻译"), {195, 261, 391, 48}, Qt::black);

    addPictureButton(screen, QStringLiteral("超级按钮b_开始"), {140, 400, 60, 40}, "dict_start",
                     QString(), true);
    addPictureButton(screen, QStringLiteral("超级按钮b_再听一遍"), {250, 400, 100, 40},
                     "dict_replay", QString(), false);
    addPictureButton(screen, QStringLiteral("超级按钮b_下一题"), {400, 400, 100, 40}, "dict_next",
                     QString(), false);
    addPictureButton(screen, QStringLiteral("超级按钮b_确定背单词"), {632, 205, 60, 40},
                     "dict_confirm", QString(), false);
    addPictureButton(screen, QStringLiteral("超级按钮b_退出背单词"), {712, 400, 40, 40},
                     "button_40x40", QStringLiteral("返回"), true);
}

}  // namespace exercises
