#include "ui/main/angles_dialog.h"

#include "calc/angles.h"
#include "calc/lightest.h"
#include "calc/table_run.h"
#include "ui/main/inspections_dialog.h"

#include <QAbstractTableModel>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <string>
#include <utility>

namespace prochnar {

namespace {

enum Column { kDesignation, kLeg, kThickness, kArea, kRadius, kMargin, kColumns };

// The angle's position in angleCatalogue(), and its place in the list shown
// (-1: not shown, for it does not hold).
constexpr int kAngleRole = Qt::UserRole;
constexpr int kOrderRole = Qt::UserRole + 1;

QPushButton* button(const QString& caption, const char* name, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false); // Enter in the filter box chooses nothing
    return button;
}

} // namespace

// Every angle of the catalogue, in its order; when only those that hold are
// to be shown, each of them with its place among them and its least margin.
class AngleList final : public QAbstractTableModel {
public:
    explicit AngleList(QObject* parent) : QAbstractTableModel(parent), order_(angleCatalogue().size())
    {
        setHolding(std::nullopt);
    }

    // None: the whole catalogue in its order.
    void setHolding(const std::optional<std::vector<Candidate>>& holding)
    {
        beginResetModel();
        margins_.assign(order_.size(), 0);
        if (!holding) {
            for (std::size_t angle = 0; angle < order_.size(); ++angle) {
                order_.at(angle) = static_cast<int>(angle);
            }
        } else {
            std::ranges::fill(order_, -1);
            for (std::size_t place = 0; place < holding->size(); ++place) {
                order_.at(holding->at(place).angle) = static_cast<int>(place);
                margins_.at(holding->at(place).angle) = holding->at(place).tenths;
            }
        }
        endResetModel();
    }

    [[nodiscard]] int rowCount(const QModelIndex& parent) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(order_.size());
    }
    [[nodiscard]] int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : kColumns; }

    [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override
    {
        const auto angle = static_cast<std::size_t>(index.row());
        switch (role) {
        case kAngleRole:
            return QVariant::fromValue(angle);
        case kOrderRole:
            return order_.at(angle);
        case Qt::TextAlignmentRole:
            return static_cast<int>(index.column() == kDesignation ? Qt::AlignLeft | Qt::AlignVCenter
                                                                   : Qt::AlignRight | Qt::AlignVCenter);
        case Qt::DisplayRole:
            return QString::fromStdString(text(angle, index.column()));
        default:
            return {};
        }
    }

    [[nodiscard]] QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        static const std::array<QString, kColumns> captions{QStringLiteral("Уголок"),  QStringLiteral("b, мм"),
                                                            QStringLiteral("t, мм"),   QStringLiteral("S, см²"),
                                                            QStringLiteral("iуг, см"), QStringLiteral("запас, %")};
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < kColumns) {
            return captions.at(static_cast<std::size_t>(section));
        }
        return QAbstractTableModel::headerData(section, orientation, role);
    }

private:
    [[nodiscard]] std::string text(std::size_t at, int column) const
    {
        const Angle& angle = angleCatalogue()[at];
        switch (column) {
        case kDesignation:
            return designation(angle);
        case kLeg:
            return legText(angle);
        case kThickness:
            return thicknessText(angle);
        case kArea:
            return areaText(angle);
        case kRadius:
            return radiusText(angle);
        default:
            return marginText(margins_.at(at));
        }
    }

    std::vector<int> order_;
    std::vector<int> margins_;
};

// The angles of the list that are shown: among those the list gives a
// place, the sizes typed, in the list's order.
class ShownAngles final : public QSortFilterProxyModel {
public:
    explicit ShownAngles(QObject* parent) : QSortFilterProxyModel(parent)
    {
        setSortRole(kOrderRole);
        sort(kDesignation);
    }

    void setTyped(std::vector<std::size_t> angles)
    {
        typed_ = std::move(angles);
        invalidateFilter();
    }

protected:
    [[nodiscard]] bool filterAcceptsRow(int row, const QModelIndex& parent) const override
    {
        const QModelIndex index = sourceModel()->index(row, kDesignation, parent);
        return index.data(kOrderRole).toInt() >= 0 &&
               std::ranges::binary_search(typed_, index.data(kAngleRole).value<std::size_t>());
    }

private:
    std::vector<std::size_t> typed_;
};

AnglesDialog::AnglesDialog(Taken taken, Inputs inputs, Refuse refuse, QWidget* parent)
    : QDialog(parent), taken_(std::move(taken)), inputs_(std::move(inputs)), refuse_(std::move(refuse)),
      filter_(new QLineEdit(this)), measured_(new QLineEdit(this)), holding_(new QComboBox(this)),
      angles_(new AngleList(this)), shown_(new ShownAngles(this)), table_(new QTableView(this)),
      none_(new QLabel(this)), forChord_(button(QStringLiteral("для пояса"), "forChord", this)),
      forDiagonals_(button(QStringLiteral("для раскосов"), "forDiagonals", this))
{
    setObjectName(QStringLiteral("AnglesDialog"));
    setWindowTitle(QStringLiteral("Уголки равнополочные, ГОСТ 8509-93"));

    auto* caption = new QLabel(QStringLiteral("Размер уголка, например 63×5:"), this);
    caption->setBuddy(filter_);
    filter_->setObjectName(QStringLiteral("filter"));
    filter_->setClearButtonEnabled(true);
    // The toolkit's clear button, a picture only, is nameless to a screen reader.
    if (auto* clear = filter_->findChild<QToolButton*>()) {
        clear->setAccessibleName(QStringLiteral("Очистить фильтр"));
    }

    auto* shows = new QLabel(QStringLiteral("Показать:"), this);
    shows->setBuddy(holding_);
    holding_->setObjectName(QStringLiteral("holding"));
    holding_->setAccessibleName(QStringLiteral("Какие уголки показать"));
    holding_->addItems({QStringLiteral("все уголки"), QStringLiteral("подходящие для пояса, легкие сначала"),
                        QStringLiteral("подходящие для раскосов, легкие сначала")});
    none_->setObjectName(QStringLiteral("none"));
    none_->setWordWrap(true);
    none_->hide();

    shown_->setSourceModel(angles_);
    table_->setObjectName(QStringLiteral("angles"));
    table_->setModel(shown_);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);

    auto* measuredCaption = new QLabel(QStringLiteral("измеренная толщина полки, мм:"), this);
    measuredCaption->setBuddy(measured_);
    measured_->setObjectName(QStringLiteral("measured"));
    measured_->setAccessibleName(QStringLiteral("Измеренная толщина полки, мм"));
    measured_->setPlaceholderText(QStringLiteral("не измерялась"));
    measured_->setToolTip(QStringLiteral("Наименьшая толщина полки, измеренная на ригеле, с точностью до 0,1 мм: в "
                                         "поля пойдут площадь и радиус инерции уголка с полками этой толщины"));
    measured_->setMaximumWidth(120);
    auto* measurement = new QHBoxLayout;
    measurement->addWidget(measuredCaption);
    measurement->addWidget(measured_);
    measurement->addStretch();

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
    layout->addLayout(measurement);
    layout->addLayout(buttons);
    resize(460, 420);

    connect(filter_, &QLineEdit::textChanged, this, &AnglesDialog::narrow);
    connect(holding_, &QComboBox::currentIndexChanged, this, &AnglesDialog::refill);
    connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this, &AnglesDialog::updateButtons);
    connect(forChord_, &QPushButton::clicked, this, [this] { take(AngleMember::Chord); });
    connect(forDiagonals_, &QPushButton::clicked, this, [this] { take(AngleMember::Diagonals); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    refill();
}

void AnglesDialog::refill()
{
    const std::optional<std::size_t> selected = selectedAngle();
    const bool narrowed = holding_->currentIndex() != 0;
    std::optional<std::vector<Candidate>> holding;
    if (narrowed) {
        holding = anglesThatHold(inputs_(), holding_->currentIndex() == 1 ? Member::Chord : Member::Diagonals);
    }
    if (narrowed && !holding) {
        none_->setText(QStringLiteral("Сначала заполните шаг 1 и шаг 2: без них не видно, какой уголок держит."));
    } else if (narrowed && holding->empty()) {
        none_->setText(QStringLiteral("Ни один уголок каталога не держит при этих данных."));
    }
    angles_->setHolding(narrowed ? std::optional(holding.value_or(std::vector<Candidate>{})) : std::nullopt);
    none_->setVisible(narrowed && (!holding || holding->empty()));
    table_->setColumnHidden(kMargin, !narrowed);
    // The angle selected before stays selected if it is still shown.
    for (int row = 0; selected && row < shown_->rowCount(); ++row) {
        if (shown_->index(row, 0).data(kAngleRole).value<std::size_t>() == *selected) {
            table_->selectRow(row);
        }
    }
    narrow(filter_->text());
}

// Shows the angles whose size starts with what was typed, and keeps one of
// them selected.
void AnglesDialog::narrow(const QString& typed)
{
    shown_->setTyped(filterAngles(typed.toStdString()));
    keepOneSelected();
}

void AnglesDialog::keepOneSelected()
{
    if (shown_->rowCount() == 0) {
        table_->clearSelection();
    } else if (!table_->selectionModel()->hasSelection()) {
        table_->selectRow(0);
    }
    updateButtons();
}

void AnglesDialog::updateButtons()
{
    const bool chosen = selectedAngle().has_value();
    forChord_->setEnabled(chosen);
    forDiagonals_->setEnabled(chosen);
}

void AnglesDialog::take(AngleMember member)
{
    if (const std::optional<std::size_t> angle = selectedAngle()) {
        const QString whose =
            member == AngleMember::Chord ? QStringLiteral("полки пояса") : QStringLiteral("полки раскосов");
        const TypedThickness measured = typedThickness(measured_->text(), whose, &angleCatalogue()[*angle]);
        if (!measured.refusal.isEmpty()) {
            refuse_(measured.refusal);
            measured_->setFocus();
            return;
        }
        taken_(member, *angle, measured.tenths);
        // The other member's list may only now be computable.
        if (holding_->currentIndex() != 0) {
            refill();
        }
    }
}

// The angle of the row selected, by the mouse, the keyboard or a screen reader.
std::optional<std::size_t> AnglesDialog::selectedAngle() const
{
    const QModelIndexList rows = table_->selectionModel()->selectedRows();
    return rows.isEmpty() ? std::nullopt : std::optional(rows.front().data(kAngleRole).value<std::size_t>());
}

} // namespace prochnar
