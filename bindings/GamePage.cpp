#include "bindings/GamePage.h"

#include "bindings/BindingStore.h"
#include "bindings/BuiltInValues.h"
#include "bindings/Latin1.h"
#include "bindings/Profiles.h"
#include "bindings/SlotBinding.h"
#include "bindings/SlotTable.h"
#include "ui/Accessible.h"
#include "ui/ClickableLabel.h"
#include "ui/Form1.h"
#include "ui/PageLayout.h"
#include "ui/Panel.h"
#include "ui/Tag.h"

#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <algorithm>

namespace bindings {

std::vector<const GameInput*> profileInputs(const QString& code) {
    std::vector<const GameInput*> inputs;
    for (const GameInput& input : kGameInputs) {
        if (input.type == "common")
            inputs.push_back(&input);
    }
    if (const auto list = profileSlotList(code)) {
        for (const QString& slot : latin1(*list).split(u';')) {
            if (const GameInput* input =
                    gameInput(currentInputName(kSlots[std::size_t(slot.toInt())].inputName)))
                inputs.push_back(input);
        }
    }
    // The table's order is the emulator's.
    std::sort(inputs.begin(), inputs.end());
    inputs.erase(std::unique(inputs.begin(), inputs.end()), inputs.end());
    return inputs;
}

void fillGamePage(ui::Form1& form, BindingStore& store, const GamePageContent& content) {
    const ui::Form1::GamePage& page = form.page();
    const QSignalBlocker blocker(page.Picture4);
    store.pageSet = content.set;
    page.Label6->setText(content.title);
    page.Label6->setToolTip(content.title);
    page.Label6->setAccessibleName(QStringLiteral("Every control of ") + content.title);
    int row = 0;
    int heading = 0;
    int entry = 0;
    std::string_view lastHeading;
    for (const GameInput* input : content.inputs) {
        if (entry == ui::Form1::kPageEntryCount)
            break; // the pool covers the largest game
        const std::string_view title = inputTypeHeading(input->type);
        if (title != lastHeading && heading < ui::Form1::kPageHeadingCount) {
            QLabel* label = page.Label9[std::size_t(heading++)];
            label->setText(latin1(title));
            label->setGeometry(ui::pageCell(row++).heading);
            label->show();
            lastHeading = title;
        }
        const ui::PageCell cell = ui::pageCell(row++);
        QLabel* caption = page.Label8[std::size_t(entry)];
        caption->setText(latin1(input->label));
        caption->setGeometry(cell.label);
        caption->show();
        ui::ClickableLabel* slot = page.Label7[std::size_t(entry)];
        ui::setTag(slot, latin1(input->name));
        slot->setGeometry(cell.slot);
        ui::setCaptionedName(slot, latin1(input->label), QStringLiteral("no key"));
        slot->show();
        ++entry;
    }
    for (int i = heading; i < ui::Form1::kPageHeadingCount; ++i)
        page.Label9[std::size_t(i)]->hide();
    for (int i = entry; i < ui::Form1::kPageEntryCount; ++i) {
        page.Label8[std::size_t(i)]->hide();
        ui::ClickableLabel* slot = page.Label7[std::size_t(i)];
        slot->hide();
        ui::setTag(slot, QString());
    }
    page.rows->widget()->resize(ui::kPageRowWidth, ui::pageHeight(row));
    renderSlots(form, store);
}

int pageEntries(const ui::Form1& form) {
    if (!form.panelBuilt())
        return 0;
    // The shown entries come first, each tagged with its input.
    const auto& entries = form.page().Label7;
    return int(std::find_if(entries.begin(), entries.end(),
                            [](const ui::ClickableLabel* e) { return ui::tag(e).isEmpty(); }) -
               entries.begin());
}

bool pageShown(const ui::Form1& form) {
    return form.panelBuilt() && !form.page().Picture4->isHidden();
}

void turnToPage(ui::Form1& form, bool toPage) {
    const ui::Form1::GamePage& page = form.page();
    // The chart's slots leave the keyboard order while the page covers them.
    for (ui::ClickableLabel* slot : form.Label1)
        slot->setVisible(!toPage);
    page.Picture4->setVisible(toPage);
    const QString caption =
        toPage ? QStringLiteral("Back to the chart") : QStringLiteral("Every control of this game");
    page.Command8->setText(caption);
    page.Command8->setAccessibleName(caption);
    page.Command8->setAccessibleDescription(
        toPage ? QStringLiteral("Shows the chart of the 49 common bindings again")
               : QStringLiteral("Shows every input the selected game reads, to bind each"));
    if (toPage)
        page.rows->verticalScrollBar()->setValue(0);
}

void RestorePage(ui::Form1& form, BindingStore& store) {
    const int entries = pageEntries(form);
    for (int i = 0; i < entries; ++i) {
        const QString name = ui::tag(form.page().Label7[std::size_t(i)]);
        if (const GameInput* input = gameInput(name.toStdString()))
            store.edit(name, restoredValue(store.value(name), latin1(input->builtIn)));
    }
    renderSlots(form, store);
}

void clearGamePage(ui::Form1& form) {
    if (!form.panelBuilt())
        return;
    turnToPage(form, false);
    const ui::Form1::GamePage& page = form.page();
    for (int i = 0; i < ui::Form1::kPageEntryCount; ++i) {
        ui::ClickableLabel* slot = page.Label7[std::size_t(i)];
        ui::setTag(slot, QString());
        slot->setText(QString());
        slot->hide();
        page.Label8[std::size_t(i)]->hide();
    }
    for (QLabel* heading : page.Label9)
        heading->hide();
}

} // namespace bindings
