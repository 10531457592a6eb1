#include "ui/main/identity_dialog.h"

#include "ui/main/calculation_document.h"
#include "ui/main/utf8_text.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace prochnar {

IdentityDialog::IdentityDialog(const GirderIdentity& identity, const QString& hint, QWidget* parent)
    : QDialog(parent), note_(new QPlainTextEdit(this))
{
    setObjectName(QStringLiteral("IdentityDialog"));
    setWindowTitle(QStringLiteral("Данные опоры"));
    // The captions in the order of kIdentityKeys, with a key of their own.
    constexpr std::array<const char*, kIdentityKeys.size()> kCaptions{
        "&Участок:", "&Опора:", "&Км:", "&Дата осмотра:", "П&роверил:", "Пр&имечание:"};
    auto* fields = new QFormLayout;
    for (std::size_t at = 0; at < kIdentityKeys.size(); ++at) {
        const IdentityKey& key = kIdentityKeys.at(at);
        QWidget* field = note_;
        if (at < lines_.size()) {
            auto* line = new QLineEdit(fromUtf8(identity.*key.text), this);
            line->setMaxLength(static_cast<int>(kWindowFieldChars));
            lines_.at(at) = line;
            field = line;
        } else {
            note_->setPlainText(fromUtf8(identity.*key.text));
            note_->setTabChangesFocus(true);
            note_->setFixedHeight(note_->fontMetrics().lineSpacing() * 4 + 2 * note_->frameWidth() + 8);
        }
        field->setObjectName(QLatin1String(key.key.data(), static_cast<qsizetype>(key.key.size())));
        // The label is the field's buddy: its caption is the field's accessible name.
        fields->addRow(QString::fromUtf8(kCaptions.at(at)), field);
    }
    lines_.at(3)->setPlaceholderText(QStringLiteral("дд.мм.гггг"));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("ОК"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    if (!hint.isEmpty()) {
        auto* said = new QLabel(hint, this);
        said->setObjectName(QStringLiteral("hint"));
        said->setWordWrap(true);
        layout->addWidget(said);
    }
    layout->addLayout(fields);
    layout->addWidget(buttons);
    setMinimumWidth(440);
}

GirderIdentity IdentityDialog::identity() const
{
    GirderIdentity identity;
    for (std::size_t at = 0; at < lines_.size(); ++at) {
        identity.*kIdentityKeys.at(at).text = lines_.at(at)->text().toStdString();
    }
    identity.note = note_->toPlainText().left(static_cast<qsizetype>(kWindowFieldChars)).toStdString();
    return identity;
}

} // namespace prochnar
