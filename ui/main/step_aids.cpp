#include "ui/main/step_aids.h"

#include "ui/main/verdict_colours.h"

#include "calc/angles.h"
#include "calc/inspections.h"
#include "calc/phi_table.h"
#include "ui/main/angles_dialog.h"
#include "ui/main/calculation_document.h"
#include "ui/main/girder_sketch.h"
#include "ui/main/widget_form.h"
#include "ui_Form1.h"

#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>

#include <optional>
#include <string_view>

namespace prochnar {

StepAids::StepAids(const Ui::Form1& ui, WidgetForm& form, CalculationDocument& document, QWidget& window)
    : form_{form}, document_{document}, window_{window}, labels_{ui.lblVerdict1, ui.lblVerdict2, ui.lblVerdict3,
                                                                 ui.lblVerdict4}
{
    connect(ui.cmdJ, &QPushButton::clicked, this, [this] { fillPhi(Field::lblJ, Field::Text3); });
    connect(ui.cmdJ1, &QPushButton::clicked, this, [this] { fillPhi(Field::lblJ1, Field::Text5); });
    // The two buttons read alike on the screen; a screen reader tells whose φ each fills.
    ui.cmdJ->setAccessibleName(QStringLiteral("J основы из таблицы"));
    ui.cmdJ1->setAccessibleName(QStringLiteral("J раскосов из таблицы"));
    // A verdict is named by its row, "Вывод: сжатый пояс", and read as its description.
    for (std::size_t row = 0; row < labels_.size(); ++row) {
        const std::string_view name = kStep3Rows.at(row).name;
        const QString rowName = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
        labels_.at(row)->setAccessibleName(QStringLiteral("Вывод: ") + rowName.left(1).toLower() + rowName.mid(1));
    }
    connect(ui.cmdAngles, &QPushButton::clicked, this, &StepAids::openAngles);
    connect(ui.cmdSketch, &QPushButton::clicked, this, &StepAids::openSketch);
    connect(ui.cmdInspections, &QPushButton::clicked, &document_, [this] { document_.editInspections(); });
    ui.cmdInspections->setAccessibleName(QStringLiteral("Осмотры ригеля"));
    connect(&document_, &CalculationDocument::historyChanged, this, &StepAids::showVerdicts);
    wizardButtons_ = {ui.Command2, ui.Command3, ui.Command5, ui.Command6, ui.Command4};

    // Connected after the wizard's own handler, so it runs after it.
    connect(ui.Command4, &QPushButton::clicked, this, [this] { judgeAll(true); });
    // A row's verdict goes as soon as a value it judged changes; the flange
    // thickness depends on the section fields as well.
    for (std::size_t row = 0; row < kStep3Rows.size(); ++row) {
        for (const Field field : {kStep3Rows.at(row).demand, kStep3Rows.at(row).capacity}) {
            connect(form_.edit(field), &QLineEdit::textChanged, this, [this, row] {
                judged_.at(row) = false;
                showVerdicts();
            });
        }
    }
    for (const Member member : {Member::Chord, Member::Diagonals}) {
        for (const Field field : {sectionFields(member).area, sectionFields(member).radius}) {
            connect(form_.edit(field), &QLineEdit::textChanged, this, &StepAids::showVerdicts);
        }
    }
}

void StepAids::judgeAll(bool judged)
{
    judged_.fill(judged);
    showVerdicts();
}

void StepAids::fillPhi(Field slenderness, Field phi)
{
    const TablePhi found = phiFromTable(form_.text(slenderness));
    if (found.phi.empty()) {
        form_.present(QString::fromStdString(found.message), MessageIcon::None);
        return;
    }
    form_.setText(phi, found.phi);
}

// One catalogue at a time; it keeps the main window waiting until closed.
void StepAids::openAngles()
{
    if (angles_ == nullptr) {
        angles_ = new AnglesDialog(
            [this](AngleMember member, std::size_t angle, std::optional<int> measured) {
                takeAngle(member, angle, measured);
            },
            [this] { return inputs(); },
            [this](const QString& text) { form_.presenter()(angles_, text, MessageIcon::Error); }, &window_);
        angles_->setAttribute(Qt::WA_DeleteOnClose);
        angles_->open();
    }
}

// One sketch window beside the main one, painted again after every change
// of a field and every press of the wizard's buttons.
void StepAids::openSketch()
{
    if (sketch_ == nullptr) {
        sketch_ = new GirderSketchWindow(
            form_, [this] { return measuredSections(document_.history()); }, &window_);
        for (const auto& field : kFormFields) {
            if (QLineEdit* edit = form_.edit(field.id)) {
                connect(edit, &QLineEdit::textChanged, sketch_, &GirderSketchWindow::refresh);
            }
        }
        for (QPushButton* button : wizardButtons_) {
            connect(button, &QPushButton::clicked, sketch_, &GirderSketchWindow::refresh);
        }
        connect(&document_, &CalculationDocument::historyChanged, sketch_, &GirderSketchWindow::refresh);
    }
    sketch_->show();
    sketch_->raise();
    sketch_->activateWindow();
}

MapForm StepAids::inputs() const
{
    MapForm copy;
    for (const auto& field : kFormFields) {
        copy.setText(field.id, form_.text(field.id));
    }
    return copy;
}

void StepAids::takeAngle(AngleMember member, std::size_t angle, std::optional<int> measured)
{
    document_.takeSection(member == AngleMember::Chord ? Member::Chord : Member::Diagonals, angle, measured);
}

void StepAids::showVerdicts()
{
    const auto verdicts = judgeStep3(form_, measuredSections(document_.history()));
    for (std::size_t row = 0; row < labels_.size(); ++row) {
        const std::optional<Verdict>& verdict = verdicts.at(row);
        QLabel* label = labels_.at(row);
        if (!judged_.at(row) || !verdict) {
            label->clear();
            label->setAccessibleDescription({});
            continue;
        }
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, verdictTextColour(verdict->kind));
        label->setPalette(palette);
        label->setText(QString::fromStdString(verdict->text));
        label->setAccessibleDescription(label->text());
    }
}

} // namespace prochnar
