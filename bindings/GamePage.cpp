#include "bindings/GamePage.h"

#include "bindings/BindingValue.h"
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
#include "ui/SlotState.h"
#include "ui/Tag.h"

#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <algorithm>

namespace bindings {

namespace {

QString settingName(const QString& input) {
    return QStringLiteral("Input") + input;
}

// An input of the light guns the chart's trigger slots once wrote: the chart
// keeps it under its earlier name, so the page never stores it apart.
bool earlierChartName(std::string_view name) {
    return std::any_of(kSlots.begin(), kSlots.end(),
                       [name](const InputSlot& slot) { return slot.inputName == name; });
}

// The page's current set, kept on the page for the tooltips.
QString pageSet(const ui::Form1& form) {
    return form.page().Picture4->property("pageSet").toString();
}

QString pageGroup(const ui::Form1& form, int entry) {
    return form.page().Label8[std::size_t(entry)]->property("pageGroup").toString();
}

void renderEntry(ui::Form1& form, int entry) {
    ui::ClickableLabel* label = form.page().Label7[std::size_t(entry)];
    const QString name = ui::tag(label);
    const int chart = chartSlotOf(name.toStdString());
    QString value;
    bool builtIn = false;
    if (chart >= 0) {
        const ui::ClickableLabel* slot = form.Label1[std::size_t(chart)];
        value = ui::slotValue(slot);
        builtIn = ui::slotBuiltIn(slot);
    } else {
        const ui::StoredInput stored = form.pageValues.inputs.value(name);
        value = stored.value;
        builtIn = stored.builtIn;
    }
    QString note;
    const QString set = pageSet(form);
    const auto section = form.pageValues.sections.constFind(set);
    if (section != form.pageValues.sections.cend()) {
        const auto game = section->constFind(settingName(name));
        if (game != section->cend())
            note = QStringLiteral("; this game gets ") + describe(*game) +
                   QStringLiteral(" from its [ ") + set + QStringLiteral(" ] section");
    }
    showBinding(label, value, pageGroup(form, entry),
                builtIn ? ValueOrigin::BuiltIn : ValueOrigin::File, note);
}

} // namespace

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

int chartSlotOf(std::string_view name) {
    for (int i = 0; i < kSlotCount; ++i) {
        if (currentInputName(kSlots[std::size_t(i)].inputName) == name)
            return i;
    }
    return -1;
}

QStringList pageSettingNames() {
    QStringList names;
    for (const GameInput& input : kGameInputs) {
        if (chartSlotOf(input.name) < 0 && !earlierChartName(input.name))
            names.append(settingName(latin1(input.name)));
    }
    return names;
}

void setPageValues(ui::Form1& form, const QHash<QString, QString>& global,
                   const QHash<QString, QHash<QString, QString>>& sections) {
    ui::PageValues& values = form.pageValues;
    values.inputs.clear();
    for (const GameInput& input : kGameInputs) {
        if (chartSlotOf(input.name) >= 0 || earlierChartName(input.name))
            continue;
        const QString name = latin1(input.name);
        const auto found = global.constFind(settingName(name));
        if (found != global.cend())
            values.inputs.insert(name, {*found, false, false});
        else
            values.inputs.insert(name, {latin1(input.builtIn), false, true});
    }
    values.sections = sections;
}

QHash<QString, QString> pageEdits(const ui::Form1& form) {
    QHash<QString, QString> edits;
    for (auto it = form.pageValues.inputs.cbegin(); it != form.pageValues.inputs.cend(); ++it) {
        if (it->edited)
            edits.insert(settingName(it.key()), it->value);
    }
    return edits;
}

void fillGamePage(ui::Form1& form, const GamePageContent& content) {
    const ui::Form1::GamePage& page = form.page();
    const QSignalBlocker blocker(page.Picture4);
    page.Picture4->setProperty("pageSet", content.set);
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
        caption->setProperty("pageGroup", latin1(lastHeading));
        caption->show();
        ui::ClickableLabel* slot = page.Label7[std::size_t(entry)];
        ui::setTag(slot, latin1(input->name));
        slot->setGeometry(cell.slot);
        ui::setCaptionedName(slot, latin1(input->label), QStringLiteral("no key"));
        slot->show();
        ++entry;
    }
    page.Picture4->setProperty("pageEntries", entry);
    for (int i = heading; i < ui::Form1::kPageHeadingCount; ++i)
        page.Label9[std::size_t(i)]->hide();
    for (int i = entry; i < ui::Form1::kPageEntryCount; ++i) {
        page.Label8[std::size_t(i)]->hide();
        ui::ClickableLabel* slot = page.Label7[std::size_t(i)];
        slot->hide();
        ui::setTag(slot, QString());
    }
    page.rows->widget()->resize(ui::kPageRowWidth, ui::pageHeight(row));
    renderGamePage(form);
}

void renderGamePage(ui::Form1& form) {
    const QSignalBlocker blocker(form.page().Picture4);
    const int entries = pageEntries(form);
    for (int i = 0; i < entries; ++i)
        renderEntry(form, i);
}

int pageEntries(const ui::Form1& form) {
    return form.pageBuilt() ? form.page().Picture4->property("pageEntries").toInt() : 0;
}

bool pageShown(const ui::Form1& form) {
    return form.pageBuilt() && !form.page().Picture4->isHidden();
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

void editPageEntry(ui::Form1& form, int entry, const QString& value) {
    if (entry < 0 || entry >= pageEntries(form))
        return;
    const QString name = ui::tag(form.page().Label7[std::size_t(entry)]);
    const int chart = chartSlotOf(name.toStdString());
    if (chart >= 0) {
        editSlotBinding(form, chart, value);
    } else {
        ui::StoredInput& stored = form.pageValues.inputs[name];
        stored = {value, true, false};
    }
    renderGamePage(form);
}

void RestorePage(ui::Form1& form) {
    const int entries = pageEntries(form);
    for (int i = 0; i < entries; ++i) {
        ui::ClickableLabel* entry = form.page().Label7[std::size_t(i)];
        const GameInput* input = gameInput(ui::tag(entry).toStdString());
        if (!input)
            continue;
        QStringList sources;
        for (const QString& source : splitSources(latin1(input->builtIn))) {
            const SourceKind kind = sourceKind(source);
            if (kind == SourceKind::Keyboard || kind == SourceKind::Mouse)
                sources.append(source);
        }
        for (const QString& source : splitSources(withoutKey(ui::slotValue(entry)))) {
            // "NONE" says there is nothing; with keys back it would say wrong.
            if (sources.isEmpty() || source.compare(QLatin1String("NONE"), Qt::CaseInsensitive))
                sources.append(source);
        }
        if (sources.isEmpty()) // nothing drives it: said as the emulator says it
            sources.append(QStringLiteral("NONE"));
        const int chart = chartSlotOf(input->name);
        if (chart >= 0)
            editSlotBinding(form, chart, joinSources(sources));
        else
            form.pageValues.inputs[latin1(input->name)] = {joinSources(sources), true, false};
    }
    renderGamePage(form);
}

void clearGamePage(ui::Form1& form) {
    form.pageValues = {};
    if (!form.pageBuilt())
        return;
    turnToPage(form, false);
    const ui::Form1::GamePage& page = form.page();
    page.Picture4->setProperty("pageEntries", 0);
    for (int i = 0; i < ui::Form1::kPageEntryCount; ++i) {
        ui::ClickableLabel* slot = page.Label7[std::size_t(i)];
        ui::setTag(slot, QString());
        ui::setSlotValue(slot, QString());
        slot->setText(QString());
        slot->hide();
        page.Label8[std::size_t(i)]->hide();
    }
    for (QLabel* heading : page.Label9)
        heading->hide();
}

} // namespace bindings
