#include "ui/main/angles_dialog.h"

#include "calc/angles.h"
#include "calc/lightest.h"
#include "calc/table_run.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <string>
#include <utility>

namespace prochnar {

namespace {

QPushButton* button(const QString& caption, const char* name, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false); // Enter in the filter box chooses nothing
    return button;
}

} // namespace

AnglesDialog::AnglesDialog(Taken taken, Inputs inputs, QWidget* parent)
    : QDialog(parent), taken_(std::move(taken)), inputs_(std::move(inputs)), filter_(new QLineEdit(this)),
      holding_(new QComboBox(this)), table_(new QTableWidget(this)), none_(new QLabel(this)),
      forChord_(button(QStringLiteral("для пояса"), "forChord", this)),
      forDiagonals_(button(QStringLiteral("для раскосов"), "forDiagonals", this))
{
    setObjectName(QStringLiteral("AnglesDialog"));
    setWindowTitle(QStringLiteral("Уголки равнополочные, ГОСТ 8509-93"));

    auto* caption = new QLabel(QStringLiteral("Размер уголка, например 63×5:"), this);
    caption->setBuddy(filter_);
    filter_->setObjectName(QStringLiteral("filter"));
    filter_->setClearButtonEnabled(true);

    auto* shows = new QLabel(QStringLiteral("Показать:"), this);
    shows->setBuddy(holding_);
    holding_->setObjectName(QStringLiteral("holding"));
    holding_->setAccessibleName(QStringLiteral("Какие уголки показать"));
    holding_->addItems({QStringLiteral("все уголки"), QStringLiteral("подходящие для пояса, легкие сначала"),
                        QStringLiteral("подходящие для раскосов, легкие сначала")});
    none_->setObjectName(QStringLiteral("none"));
    none_->setWordWrap(true);
    none_->hide();

    table_->setObjectName(QStringLiteral("angles"));
    table_->setColumnCount(6);
    table_->setHorizontalHeaderLabels({QStringLiteral("Уголок"), QStringLiteral("b, мм"), QStringLiteral("t, мм"),
                                       QStringLiteral("S, см²"), QStringLiteral("iуг, см"),
                                       QStringLiteral("запас, %")});
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);

    auto* close = button(QStringLiteral("Закрыть"), "close", this);
    auto* choice = new QHBoxLayout;
    choice->addWidget(shows);
    choice->addWidget(holding_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(forChord_);
    buttons->addWidget(forDiagonals_);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(caption);
    layout->addWidget(filter_);
    layout->addLayout(choice);
    layout->addWidget(table_);
    layout->addWidget(none_);
    layout->addLayout(buttons);
    resize(460, 420);

    connect(filter_, &QLineEdit::textChanged, this, &AnglesDialog::narrow);
    connect(holding_, &QComboBox::currentIndexChanged, this, &AnglesDialog::refill);
    connect(table_, &QTableWidget::itemSelectionChanged, this, &AnglesDialog::updateButtons);
    connect(forChord_, &QPushButton::clicked, this, [this] { take(AngleMember::Chord); });
    connect(forDiagonals_, &QPushButton::clicked, this, [this] { take(AngleMember::Diagonals); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    refill();
}

void AnglesDialog::refill()
{
    const std::optional<std::size_t> selected = angleAt(table_->currentRow());
    const auto angles = angleCatalogue();
    std::vector<Candidate> rows;
    std::optional<std::vector<Candidate>> holding;
    if (holding_->currentIndex() == 0) {
        for (std::size_t at = 0; at < angles.size(); ++at) {
            rows.push_back({.angle = at, .tenths = 0});
        }
    } else {
        holding = anglesThatHold(inputs_(), holding_->currentIndex() == 1 ? Member::Chord : Member::Diagonals);
        rows = holding.value_or(std::vector<Candidate>{});
    }
    const bool narrowed = holding_->currentIndex() != 0;
    if (narrowed && !holding) {
        none_->setText(QStringLiteral("Сначала заполните шаг 1 и шаг 2: без них не видно, какой уголок держит."));
    } else if (narrowed && holding->empty()) {
        none_->setText(QStringLiteral("Ни один уголок каталога не держит при этих данных."));
    }
    none_->setVisible(narrowed && rows.empty());
    table_->setColumnHidden(5, !narrowed);

    table_->clearContents();
    table_->setCurrentItem(nullptr); // narrow() selects the first angle shown unless the one selected is kept
    table_->setRowCount(static_cast<int>(rows.size()));
    for (int row = 0; row < table_->rowCount(); ++row) {
        const Candidate& candidate = rows.at(static_cast<std::size_t>(row));
        const Angle& angle = angles[candidate.angle];
        const std::array cells{designation(angle), legText(angle),    thicknessText(angle),
                               areaText(angle),    radiusText(angle), marginText(candidate.tenths)};
        for (int column = 0; column < table_->columnCount(); ++column) {
            auto* item = new QTableWidgetItem(QString::fromStdString(cells.at(static_cast<std::size_t>(column))));
            item->setTextAlignment(column == 0 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignRight | Qt::AlignVCenter);
            table_->setItem(row, column, item);
        }
        table_->item(row, 0)->setData(Qt::UserRole, QVariant::fromValue(candidate.angle));
        if (candidate.angle == selected) {
            table_->selectRow(row);
        }
    }
    narrow(filter_->text());
}

// Shows the angles whose size starts with what was typed, and keeps one of
// them selected.
void AnglesDialog::narrow(const QString& typed)
{
    const std::vector<std::size_t> shown = filterAngles(typed.toStdString());
    int first = -1;
    for (int row = 0; row < table_->rowCount(); ++row) {
        const bool hidden = !std::binary_search(shown.begin(), shown.end(), angleAt(row).value_or(shown.size()));
        table_->setRowHidden(row, hidden);
        first = first < 0 && !hidden ? row : first;
    }
    const int current = table_->currentRow();
    if (first < 0) {
        table_->clearSelection();
    } else if (current < 0 || table_->isRowHidden(current)) {
        table_->selectRow(first);
    }
    updateButtons();
}

void AnglesDialog::updateButtons()
{
    const int row = table_->currentRow();
    const bool chosen = row >= 0 && !table_->isRowHidden(row) && !table_->selectedItems().isEmpty();
    forChord_->setEnabled(chosen);
    forDiagonals_->setEnabled(chosen);
}

void AnglesDialog::take(AngleMember member)
{
    const int row = table_->currentRow();
    const std::optional<std::size_t> angle = angleAt(row);
    if (angle && !table_->isRowHidden(row)) {
        taken_(member, *angle);
        // The other member's list may only now be computable.
        if (holding_->currentIndex() != 0) {
            refill();
        }
    }
}

std::optional<std::size_t> AnglesDialog::angleAt(int row) const
{
    const QTableWidgetItem* item = row >= 0 ? table_->item(row, 0) : nullptr;
    return item != nullptr ? std::optional(item->data(Qt::UserRole).value<std::size_t>()) : std::nullopt;
}

} // namespace prochnar
