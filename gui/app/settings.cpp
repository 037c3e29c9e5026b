#include "gui/app/settings.h"

#include "gui/app/settingback.h"
#include "core/business/settingsrules.h"
#include "gui/widgets/keyclick.h"
#include "core/common/prompts.h"
#include "core/common/recordfile.h"
#include "core/common/textnum.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
const char* const labelCaptions[8] = {
    "Business Name",           "    CEO's Name",
    "   Business Type",        "   Markup Rate",
    "Engineering Labour Rate", "    Assembly Labour Rate",
    "       Testing Labour Rate", "                     sales tax  %"};

QString rateText(float rate) {
    return format(rate, QStringLiteral("$0.00")) + QLatin1String("/hr");
}
} // namespace

settings::settings() {
    setObjectName(QStringLiteral("settings"));
    setWindowTitle(QStringLiteral("  Business Settings"));
    auto* grid = new QGridLayout(this);
    for (int i = 0; i < 8; ++i) {
        Label1[i] = new QLabel(QLatin1String(labelCaptions[i]), this);
        Label1[i]->setObjectName(QStringLiteral("Label1(%1)").arg(i));
        Text1[i] = new QLineEdit(this);
        Text1[i]->setObjectName(QStringLiteral("Text1(%1)").arg(i));
        Text1[i]->setMinimumWidth(260);
        grid->addWidget(Label1[i], i, 0, Qt::AlignRight);
        grid->addWidget(Text1[i], i, 1);
        // A number's unit is added when the field is left, never while typing, so a unit the
        // user types is not doubled.
        if (i >= 3)
            connect(Text1[i], &QLineEdit::editingFinished, this, [this, i] { applyForm(i); });
    }
    // The names are stored in 30 characters: a longer one is stopped while typing.
    for (int i = 0; i < 3; ++i)
        Text1[i]->setMaxLength(BizSettings::textWidth);
    Command1[0] = new QPushButton(QStringLiteral("&Save"), this);
    Command1[1] = new QPushButton(QStringLiteral("&Close"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (int i = 0; i < 2; ++i) {
        Command1[i]->setObjectName(QStringLiteral("Command1(%1)").arg(i));
        buttons->addWidget(Command1[i]);
    }
    Command1[0]->setDefault(true);
    Command1[1]->setAutoDefault(false);
    grid->addLayout(buttons, 8, 0, 1, 2);
    connect(Command1[0], &QPushButton::clicked, this, &settings::save);
    connect(Command1[1], &QPushButton::clicked, this, [this] { unload(); });
    // Enter on a focused "&Close" closes; elsewhere it presses the default "&Save".
    keyclick::returnPressesFocusedButtons(this);
}

void settings::load() {
    RecordStatus status = RecordStatus::Missing;
    const BizSettings read = loadBizSettings(business().folder(), &status);
    if (status == RecordStatus::Damaged)
        prompts::message(QStringLiteral("The settings file %1 is damaged and was not read.")
                             .arg(business().filePath(QLatin1String(BizSettings::fileName))),
                         QString(), PromptIcon::Exclamation);
    if (status != RecordStatus::Ok)
        return;
    record_ = read;
    setWindowTitle(QStringLiteral("Organizational Settings: ") + record_.company);
    Text1[0]->setText(record_.company);
    Text1[1]->setText(record_.ceo_name);
    Text1[2]->setText(record_.biz_type);
    Text1[3]->setText(numberText(record_.markup_rate) + QLatin1Char('%'));
    Text1[4]->setText(rateText(record_.eng_rate));
    Text1[5]->setText(rateText(record_.asm_rate));
    Text1[6]->setText(rateText(record_.test_rate));
    Text1[7]->setText(numberText(record_.sales_tax) + QLatin1Char('%'));
}

void settings::applyForm(int index) {
    const QString form = settingsForm(index, Text1[index]->text());
    if (form != Text1[index]->text())
        Text1[index]->setText(form);
}

void settings::save() {
    for (QLineEdit* field : Text1) {
        if (field->text().isEmpty()) {
            prompts::message(settingsRefusal);
            return;
        }
    }
    // Each number read with or without its unit; the first that is no number, or out of its
    // range, is refused and nothing is written.
    std::array<float, 5> numbers{};
    for (int i = 3; i < 8; ++i) {
        QString refusal;
        const std::optional<float> value = settingsNumber(i, Text1[i]->text(), &refusal);
        if (!value) {
            prompts::message(refusal);
            Text1[i]->setFocus(Qt::OtherFocusReason);
            Text1[i]->selectAll();
            return;
        }
        numbers[i - 3] = *value;
    }
    const auto [markup, eng, assembly, testing, tax] = numbers;
    BizSettings record = record_;
    record.company = Text1[0]->text();
    record.ceo_name = Text1[1]->text();
    record.biz_type = Text1[2]->text();
    record.markup_rate = markup;
    record.eng_rate = eng;
    record.asm_rate = assembly;
    record.test_rate = testing;
    record.sales_tax = tax;
    try {
        writeRecordAtomically(business().filePath(QLatin1String(BizSettings::fileName)),
                              record.encode());
    } catch (const FileError& error) {
        prompts::message(error.message(), QString(), PromptIcon::Critical);
        return;
    }
    // What the file now holds, texts cut to their width, is what the business goes on with.
    record_ = BizSettings::decode(record.encode()).value_or(record);
    business().settingsSaved(record_);
    prompts::message(QStringLiteral("settings saved"));
    unload();
}

void settings::unloading() {
    if (settingback* backdrop = settingback::loaded())
        backdrop->unload();
}

// Esc presses "&Close", the cancel button, only while it is enabled.
void settings::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        if (Command1[1]->isEnabled())
            Command1[1]->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

// The close box leaves without writing.
void settings::reject() {
    unload();
}
