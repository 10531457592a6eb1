#include "ui/main/inspections_dialog.h"

#include "formats/girder_history.h"
#include "ui/main/thinning_chart.h"

#include <QChartView>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace prochnar {

namespace {

// The spin box's least value stands for a year not given.
constexpr int kNoYear = 1799;

enum Column { kDate, kChord, kDiagonals, kNote, kColumns };

QString fromStd(const std::string& text) { return QString::fromStdString(text); }

QPushButton* button(const QString& caption, const char* name, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false); // Enter in a field chooses nothing
    return button;
}

QLineEdit* edit(const char* name, const QString& spoken, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setAccessibleName(spoken);
    return edit;
}

QString thicknessCell(std::optional<int> tenths) { return tenths ? fromStd(thicknessTenthsText(*tenths)) : QString(); }

} // namespace

CalendarDate calendarDate(QDate date) { return {.year = date.year(), .month = date.month(), .day = date.day()}; }

TypedThickness typedThickness(const QString& text, const QString& whose, const Angle* nominal)
{
    const QString typed = text.trimmed();
    if (typed.isEmpty()) {
        return {};
    }
    static const QRegularExpression kNumber(QStringLiteral(R"(^([+-]?)(\d{1,6})(?:,(\d+))?$)"));
    const QRegularExpressionMatch match = kNumber.match(typed);
    if (!match.hasMatch()) {
        return {.tenths = std::nullopt,
                .refusal = QStringLiteral("Толщина %1 «%2» — не число. Введите миллиметры с десятичной запятой, "
                                          "например 5,2.")
                               .arg(whose, typed)};
    }
    if (match.captured(3).size() > 1) {
        return {.tenths = std::nullopt,
                .refusal = QStringLiteral("Толщина %1 «%2»: больше одного знака после запятой. Толщина полки "
                                          "измеряется с точностью до 0,1 мм.")
                               .arg(whose, typed)};
    }
    const int tenths = match.captured(2).toInt() * 10 + match.captured(3).toInt();
    if (match.captured(1) == QLatin1String("-") || tenths == 0) {
        return {.tenths = std::nullopt,
                .refusal = QStringLiteral("Толщина %1 «%2»: толщина должна быть больше нуля.").arg(whose, typed)};
    }
    if (nominal != nullptr && tenths > nominal->thicknessTenths) {
        return {.tenths = std::nullopt,
                .refusal = QStringLiteral("Толщина %1 %2 мм больше толщины полки уголка %3 (%4 мм): измеренная полка "
                                          "не может быть толще новой.")
                               .arg(whose, fromStd(thicknessTenthsText(tenths)), fromStd(designation(*nominal)),
                                    fromStd(thicknessText(*nominal)))};
    }
    return {.tenths = tenths, .refusal = {}};
}

InspectionsDialog::InspectionsDialog(const GirderHistory& history, Inputs inputs, Apply apply, MessagePresenter present,
                                     QWidget* parent, QDate today)
    : QDialog(parent), history_{history}, inputs_{std::move(inputs)}, apply_{std::move(apply)},
      present_{std::move(present)}, today_{today}
{
    setObjectName(QStringLiteral("InspectionsDialog"));
    setWindowTitle(QStringLiteral("Осмотры ригеля — Прочнар"));
    std::ranges::stable_sort(history_.inspections,
                             [](const Inspection& a, const Inspection& b) { return a.date < b.date; });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(girderFields());
    layout->addWidget(inspectionsTable(), 1);

    auto* results = new QGroupBox(QStringLiteral("Утонение и остаточный срок"), this);
    lives_ = new QLabel(results);
    lives_->setObjectName(QStringLiteral("lives"));
    lives_->setWordWrap(true);
    lives_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    chart_ = new QChartView(results);
    chart_->setObjectName(QStringLiteral("chart"));
    chart_->setAccessibleName(QStringLiteral("График утонения полок"));
    chart_->setRenderHint(QPainter::Antialiasing);
    chart_->setMinimumHeight(300);
    auto* resultsLayout = new QVBoxLayout(results);
    resultsLayout->addWidget(lives_);
    resultsLayout->addWidget(chart_, 1);

    auto* applyLatest = button(QStringLiteral("Применить последний осмотр"), "applyLatest", this);
    applyLatest->setToolTip(QStringLiteral("Площадь и радиус инерции уголков, утоненных до толщин последнего осмотра, "
                                           "— в поля шага 1"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(applyLatest);
    bottom->addStretch();
    bottom->addWidget(buttons);

    layout->addWidget(results, 2);
    layout->addLayout(bottom);
    resize(860, 860);

    connect(applyLatest, &QPushButton::clicked, this, &InspectionsDialog::applyLatest);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    refresh();
}

QWidget* InspectionsDialog::girderFields()
{
    auto* girder = new QGroupBox(QStringLiteral("Ригель"), this);
    installed_ = new QSpinBox(girder);
    installed_->setObjectName(QStringLiteral("installed"));
    installed_->setRange(kNoYear, 2200);
    installed_->setSpecialValueText(QStringLiteral("не указан"));
    installed_->setValue(history_.installed.value_or(kNoYear));
    installed_->setAccessibleName(QStringLiteral("Год установки"));
    installed_->setToolTip(QStringLiteral("С этого года полки считаются номинальной толщины уголка"));

    const auto angleBox = [girder](const char* name, const QString& spoken, std::optional<std::size_t> angle) {
        auto* box = new QComboBox(girder);
        box->setObjectName(QLatin1String(name));
        box->setAccessibleName(spoken);
        box->addItem(QStringLiteral("не указан"));
        for (const Angle& each : angleCatalogue()) {
            box->addItem(fromStd(designation(each)));
        }
        box->setCurrentIndex(angle ? static_cast<int>(*angle) + 1 : 0);
        box->setMaxVisibleItems(20);
        return box;
    };
    chordAngle_ = angleBox("chordAngle", QStringLiteral("Уголок поясов по каталогу"), history_.chordAngle);
    diagonalAngle_ = angleBox("diagonalAngle", QStringLiteral("Уголок раскосов по каталогу"), history_.diagonalAngle);

    auto* grid = new QGridLayout(girder);
    const auto label = [girder](const QString& text, QWidget* buddy) {
        auto* caption = new QLabel(text, girder);
        caption->setBuddy(buddy);
        return caption;
    };
    grid->addWidget(label(QStringLiteral("Год установки:"), installed_), 0, 0);
    grid->addWidget(installed_, 0, 1);
    auto* hint = new QLabel(QStringLiteral("Номинальные уголки — те, что поставлены; их предельная толщина считается "
                                           "по исходным данным окна."),
                            girder);
    hint->setWordWrap(true);
    grid->addWidget(hint, 0, 2, 1, 3);
    grid->addWidget(label(QStringLiteral("Уголок поясов:"), chordAngle_), 1, 0);
    grid->addWidget(chordAngle_, 1, 1);
    grid->addWidget(label(QStringLiteral("Уголок раскосов:"), diagonalAngle_), 1, 2);
    grid->addWidget(diagonalAngle_, 1, 3);
    grid->setColumnStretch(4, 1);

    connect(installed_, &QSpinBox::valueChanged, this, &InspectionsDialog::chooseYear);
    connect(chordAngle_, &QComboBox::currentIndexChanged, this, [this](int item) { chooseAngle(Member::Chord, item); });
    connect(diagonalAngle_, &QComboBox::currentIndexChanged, this,
            [this](int item) { chooseAngle(Member::Diagonals, item); });
    return girder;
}

QWidget* InspectionsDialog::inspectionsTable()
{
    auto* box = new QGroupBox(QStringLiteral("Осмотры"), this);
    table_ = new QTableWidget(0, kColumns, box);
    table_->setObjectName(QStringLiteral("inspections"));
    table_->setAccessibleName(QStringLiteral("Осмотры"));
    table_->setHorizontalHeaderLabels({QStringLiteral("Дата"), QStringLiteral("Полка пояса, мм"),
                                       QStringLiteral("Полка раскосов, мм"), QStringLiteral("Примечание")});
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->horizontalHeader()->setStretchLastSection(true);

    date_ = new QDateEdit(today_, box);
    date_->setObjectName(QStringLiteral("date"));
    date_->setAccessibleName(QStringLiteral("Дата осмотра"));
    date_->setCalendarPopup(true);
    date_->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    date_->setDateRange(QDate(1800, 1, 1), QDate(2200, 12, 31));
    chord_ = edit("chordThickness", QStringLiteral("Наименьшая толщина полки пояса, мм"), box);
    diagonals_ = edit("diagonalThickness", QStringLiteral("Наименьшая толщина полки раскосов, мм"), box);
    note_ = edit("note", QStringLiteral("Примечание к осмотру"), box);
    for (QLineEdit* thickness : {chord_, diagonals_}) {
        thickness->setPlaceholderText(QStringLiteral("не измерялась"));
        thickness->setMaximumWidth(130);
    }

    auto* addButton = button(QStringLiteral("Добавить"), "add", box);
    change_ = button(QStringLiteral("Изменить"), "change", box);
    remove_ = button(QStringLiteral("Удалить"), "remove", box);
    auto* fields = new QGridLayout;
    const std::array<std::pair<QString, QWidget*>, 4> captioned{{
        {QStringLiteral("Дата осмотра"), date_},
        {QStringLiteral("Полка пояса, мм"), chord_},
        {QStringLiteral("Полка раскосов, мм"), diagonals_},
        {QStringLiteral("Примечание"), note_},
    }};
    for (int column = 0; column < static_cast<int>(captioned.size()); ++column) {
        auto* caption = new QLabel(captioned.at(static_cast<std::size_t>(column)).first, box);
        caption->setBuddy(captioned.at(static_cast<std::size_t>(column)).second);
        fields->addWidget(caption, 0, column);
        fields->addWidget(captioned.at(static_cast<std::size_t>(column)).second, 1, column);
    }
    fields->setColumnStretch(3, 1);
    auto* rowButtons = new QHBoxLayout;
    rowButtons->addWidget(addButton);
    rowButtons->addWidget(change_);
    rowButtons->addWidget(remove_);
    rowButtons->addStretch();
    auto* layout = new QVBoxLayout(box);
    layout->addWidget(table_, 1);
    layout->addLayout(fields);
    layout->addLayout(rowButtons);

    connect(addButton, &QPushButton::clicked, this, &InspectionsDialog::add);
    connect(change_, &QPushButton::clicked, this, &InspectionsDialog::change);
    connect(remove_, &QPushButton::clicked, this, &InspectionsDialog::remove);
    connect(table_, &QTableWidget::itemSelectionChanged, this, &InspectionsDialog::showSelected);
    return box;
}

// A year after an inspection is refused: the girder was inspected before
// it was installed, and the life would count from after a reading.
void InspectionsDialog::chooseYear(int year)
{
    const std::optional<int> installed = year == kNoYear ? std::nullopt : std::optional(year);
    const auto earlier = std::find_if(
        history_.inspections.begin(), history_.inspections.end(),
        [&installed](const Inspection& inspection) { return inspectedBeforeInstalled(inspection.date, installed); });
    if (earlier != history_.inspections.end()) {
        const QSignalBlocker blocker(installed_);
        installed_->setValue(history_.installed.value_or(kNoYear));
        refuse(QStringLiteral("Год установки %1 позже осмотра %2: осмотр не может быть раньше установки.")
                   .arg(year)
                   .arg(fromStd(dateText(earlier->date))));
        return;
    }
    history_.installed = installed;
    refresh();
}

// A nominal angle thinner than a flange measured is refused; another angle
// than before drops the member's measured section, which was of the other.
void InspectionsDialog::chooseAngle(Member member, int item)
{
    std::optional<std::size_t>& angle = member == Member::Chord ? history_.chordAngle : history_.diagonalAngle;
    const std::optional<std::size_t> chosen =
        item > 0 ? std::optional(static_cast<std::size_t>(item) - 1) : std::nullopt;
    if (chosen) {
        const Angle& nominal = angleCatalogue()[*chosen];
        if (const std::optional<Inspection> thicker = inspectionThickerThan(history_, member, nominal)) {
            QComboBox* box = member == Member::Chord ? chordAngle_ : diagonalAngle_;
            const QSignalBlocker blocker(box);
            box->setCurrentIndex(angle ? static_cast<int>(*angle) + 1 : 0);
            const int measured = *(member == Member::Chord ? thicker->chordTenths : thicker->diagonalTenths);
            refuse(QStringLiteral("Уголок %1 не может быть номинальным для %2: осмотр %3 измерил полку толщиной %4 мм, "
                                  "а у этого уголка она %5 мм.")
                       .arg(fromStd(designation(nominal)),
                            member == Member::Chord ? QStringLiteral("поясов") : QStringLiteral("раскосов"),
                            fromStd(dateText(thicker->date)), fromStd(thicknessTenthsText(measured)),
                            fromStd(thicknessText(nominal))));
            return;
        }
    }
    if (chosen != angle) {
        (member == Member::Chord ? history_.chordMeasured : history_.diagonalMeasured).reset();
    }
    angle = chosen;
    refresh();
}

std::optional<Inspection> InspectionsDialog::typedInspection()
{
    // A slip of the year would put the inspection, and the life, in the
    // future, or before the girder was installed.
    const QString date = date_->date().toString(QStringLiteral("dd.MM.yyyy"));
    if (date_->date() > today_) {
        refuse(QStringLiteral("Дата осмотра %1 позже сегодняшней (%2): осмотр еще не проведен.")
                   .arg(date, today_.toString(QStringLiteral("dd.MM.yyyy"))));
        date_->setFocus();
        return std::nullopt;
    }
    if (inspectedBeforeInstalled(calendarDate(date_->date()), history_.installed)) {
        refuse(QStringLiteral("Дата осмотра %1 раньше года установки %2.").arg(date).arg(*history_.installed));
        date_->setFocus();
        return std::nullopt;
    }
    Inspection inspection{.date = calendarDate(date_->date()), .note = note_->text().simplified().toStdString()};
    const std::array<std::tuple<QLineEdit*, QString, Member>, 2> thicknesses{{
        {chord_, QStringLiteral("полки пояса"), Member::Chord},
        {diagonals_, QStringLiteral("полки раскосов"), Member::Diagonals},
    }};
    for (const auto& [field, whose, member] : thicknesses) {
        const std::optional<std::size_t> angle = history_.angleOf(member);
        const TypedThickness typed = typedThickness(field->text(), whose, angle ? &angleCatalogue()[*angle] : nullptr);
        if (!typed.refusal.isEmpty()) {
            refuse(typed.refusal);
            field->setFocus();
            return std::nullopt;
        }
        (member == Member::Chord ? inspection.chordTenths : inspection.diagonalTenths) = typed.tenths;
    }
    return inspection;
}

void InspectionsDialog::add()
{
    if (const std::optional<Inspection> inspection = typedInspection()) {
        history_.inspections.push_back(*inspection);
        refresh();
    }
}

void InspectionsDialog::change()
{
    const int row = table_->currentRow();
    if (row < 0 || row >= static_cast<int>(history_.inspections.size())) {
        return;
    }
    if (const std::optional<Inspection> inspection = typedInspection()) {
        history_.inspections.at(static_cast<std::size_t>(row)) = *inspection;
        refresh();
    }
}

void InspectionsDialog::remove()
{
    const int row = table_->currentRow();
    if (row >= 0 && row < static_cast<int>(history_.inspections.size())) {
        history_.inspections.erase(history_.inspections.begin() + row);
        refresh();
    }
}

// The fields under the table show the inspection selected, to be changed.
void InspectionsDialog::showSelected()
{
    const int row = table_->selectedItems().isEmpty() ? -1 : table_->currentRow();
    change_->setEnabled(row >= 0);
    remove_->setEnabled(row >= 0);
    if (row < 0 || row >= static_cast<int>(history_.inspections.size())) {
        return;
    }
    const Inspection& inspection = history_.inspections.at(static_cast<std::size_t>(row));
    date_->setDate(QDate(inspection.date.year, inspection.date.month, inspection.date.day));
    chord_->setText(thicknessCell(inspection.chordTenths));
    diagonals_->setText(thicknessCell(inspection.diagonalTenths));
    note_->setText(fromStd(inspection.note));
}

void InspectionsDialog::applyLatest()
{
    GirderHistory applied = history_;
    bool any = false;
    for (const Member member : kMembers) {
        const std::optional<Inspection> latest = latestInspection(applied, member);
        if (applied.angleOf(member) && latest) {
            (member == Member::Chord ? applied.chordMeasured : applied.diagonalMeasured) =
                member == Member::Chord ? latest->chordTenths : latest->diagonalTenths;
            any = true;
        }
    }
    if (!any) {
        refuse(QStringLiteral("Применять нечего: нужен уголок поясов или раскосов по каталогу и осмотр, измеривший "
                              "толщину его полки."));
        return;
    }
    history_ = applied;
    apply_(history_);
    refresh();
}

void InspectionsDialog::refresh()
{
    // The inspections in the order of their dates, the one selected kept.
    const int selected = table_->selectedItems().isEmpty() ? -1 : table_->currentRow();
    const std::optional<Inspection> kept =
        selected >= 0 && selected < static_cast<int>(history_.inspections.size())
            ? std::optional(history_.inspections.at(static_cast<std::size_t>(selected)))
            : std::nullopt;
    std::ranges::stable_sort(history_.inspections,
                             [](const Inspection& a, const Inspection& b) { return a.date < b.date; });
    {
        const QSignalBlocker blocker(table_);
        table_->clearSelection();
        table_->setRowCount(static_cast<int>(history_.inspections.size()));
        for (std::size_t row = 0; row < history_.inspections.size(); ++row) {
            const Inspection& inspection = history_.inspections.at(row);
            const std::array<QString, kColumns> cells{
                fromStd(dateText(inspection.date)), thicknessCell(inspection.chordTenths),
                thicknessCell(inspection.diagonalTenths), fromStd(inspection.note)};
            for (int column = 0; column < kColumns; ++column) {
                auto* item = new QTableWidgetItem(cells.at(static_cast<std::size_t>(column)));
                item->setTextAlignment(column == kChord || column == kDiagonals ? Qt::AlignRight | Qt::AlignVCenter
                                                                                : Qt::AlignLeft | Qt::AlignVCenter);
                table_->setItem(static_cast<int>(row), column, item);
            }
        }
    }
    const auto again = kept ? std::ranges::find(history_.inspections, *kept) : history_.inspections.end();
    if (again != history_.inspections.end()) {
        table_->selectRow(static_cast<int>(again - history_.inspections.begin()));
    } else {
        showSelected();
    }

    const MapForm form = inputs_();
    const MemberLife chord = lifeOf(form, history_, Member::Chord);
    const MemberLife diagonals = lifeOf(form, history_, Member::Diagonals);
    QStringList lines;
    for (const auto& [member, life, name] : {std::tuple{Member::Chord, &chord, QStringLiteral("Пояса")},
                                             std::tuple{Member::Diagonals, &diagonals, QStringLiteral("Раскосы")}}) {
        const std::optional<std::size_t> angle = history_.angleOf(member);
        const std::optional<int> measured = history_.measuredOf(member);
        QString line = QStringLiteral("<b>%1</b>").arg(name);
        if (angle) {
            line += QStringLiteral(" (%1").arg(fromStd(designation(angleCatalogue()[*angle])));
            line += measured ? QStringLiteral(", в расчете полка %1 мм)").arg(fromStd(thicknessTenthsText(*measured)))
                             : QStringLiteral(")");
        } else {
            line += QStringLiteral(" (уголок не указан)");
        }
        lines << line + QStringLiteral(": ") + fromStd(memberLifeText(*life)).toHtmlEscaped();
    }
    const std::optional<std::string> replacement = replacementText(chord, diagonals);
    lines << (replacement ? QStringLiteral("<b>Вывод: %1</b>").arg(fromStd(*replacement).toHtmlEscaped())
                          : QStringLiteral("Год замены не определен."));
    lives_->setText(lines.join(QStringLiteral("<br>")));
    lives_->setAccessibleDescription(lives_->text());

    QChart* old = chart_->chart();
    chart_->setChart(thinningChart(form, history_, decimalYear(calendarDate(today_))));
    delete old;
}

void InspectionsDialog::refuse(const QString& text) { present_(this, text, MessageIcon::Error); }

} // namespace prochnar
