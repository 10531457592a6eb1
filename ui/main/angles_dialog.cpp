#include "ui/main/angles_dialog.h"

#include "calc/angles.h"

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

AnglesDialog::AnglesDialog(Taken taken, QWidget* parent)
    : QDialog(parent), taken_(std::move(taken)), filter_(new QLineEdit(this)), table_(new QTableWidget(this)),
      forChord_(button(QStringLiteral("для пояса"), "forChord", this)),
      forDiagonals_(button(QStringLiteral("для раскосов"), "forDiagonals", this))
{
    setObjectName(QStringLiteral("AnglesDialog"));
    setWindowTitle(QStringLiteral("Уголки равнополочные, ГОСТ 8509-93"));

    auto* caption = new QLabel(QStringLiteral("Размер уголка, например 63×5:"), this);
    caption->setBuddy(filter_);
    filter_->setObjectName(QStringLiteral("filter"));
    filter_->setClearButtonEnabled(true);

    const auto angles = angleCatalogue();
    table_->setObjectName(QStringLiteral("angles"));
    table_->setRowCount(static_cast<int>(angles.size()));
    table_->setColumnCount(5);
    table_->setHorizontalHeaderLabels({QStringLiteral("Уголок"), QStringLiteral("b, мм"), QStringLiteral("t, мм"),
                                       QStringLiteral("S, см²"), QStringLiteral("iуг, см")});
    for (int row = 0; row < table_->rowCount(); ++row) {
        const Angle& angle = angles[static_cast<std::size_t>(row)];
        const std::array cells{designation(angle), legText(angle), thicknessText(angle), areaText(angle),
                               radiusText(angle)};
        for (int column = 0; column < table_->columnCount(); ++column) {
            auto* item = new QTableWidgetItem(QString::fromStdString(cells.at(static_cast<std::size_t>(column))));
            item->setTextAlignment(column == 0 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignRight | Qt::AlignVCenter);
            table_->setItem(row, column, item);
        }
    }
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);

    auto* close = button(QStringLiteral("Закрыть"), "close", this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(forChord_);
    buttons->addWidget(forDiagonals_);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(caption);
    layout->addWidget(filter_);
    layout->addWidget(table_);
    layout->addLayout(buttons);
    resize(400, 420);

    connect(filter_, &QLineEdit::textChanged, this, &AnglesDialog::narrow);
    connect(table_, &QTableWidget::itemSelectionChanged, this, &AnglesDialog::updateButtons);
    connect(forChord_, &QPushButton::clicked, this, [this] { take(AngleMember::Chord); });
    connect(forDiagonals_, &QPushButton::clicked, this, [this] { take(AngleMember::Diagonals); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    updateButtons();
}

// Shows the angles whose size starts with what was typed, and keeps one of
// them selected.
void AnglesDialog::narrow(const QString& typed)
{
    const std::vector<std::size_t> shown = filterAngles(typed.toStdString());
    for (int row = 0; row < table_->rowCount(); ++row) {
        table_->setRowHidden(row, !std::binary_search(shown.begin(), shown.end(), static_cast<std::size_t>(row)));
    }
    const int current = table_->currentRow();
    if (shown.empty()) {
        table_->clearSelection();
    } else if (current < 0 || table_->isRowHidden(current)) {
        table_->selectRow(static_cast<int>(shown.front()));
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
    if (row >= 0 && !table_->isRowHidden(row)) {
        taken_(member, static_cast<std::size_t>(row));
    }
}

} // namespace prochnar
