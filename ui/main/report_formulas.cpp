// The report's section "Как получены числа": what steps.cpp, verdicts.h,
// phi_table.h and angles.h compute, written out for a checker with the
// form's own numbers put in, and the tables they use.

#include "ui/main/report_parts.h"

#include "calc/angles.h"
#include "calc/fields.h"
#include "calc/phi_table.h"
#include "calc/verdicts.h"

#include <array>
#include <optional>
#include <utility>

namespace prochnar::report {

namespace {

// A field's text as the formula takes it; "…" for an empty one.
QString put(const Form& form, Field field)
{
    const QString text = QString::fromStdString(form.text(field)).trimmed();
    return text.isEmpty() ? QStringLiteral("…") : text.toHtmlEscaped();
}

// "= 33,41688 см²", or nothing for a result not there.
QString result(const Form& form, Field field, QStringView unit)
{
    const QString text = QString::fromStdString(form.text(field)).trimmed();
    return text.isEmpty()
               ? QStringLiteral(" (не вычислено)")
               : QStringLiteral(" = <b>%1</b>%2")
                     .arg(text.toHtmlEscaped(), unit.isEmpty() ? QString() : QChar(0x00A0) + unit.toString());
}

QString units()
{
    return QStringLiteral(
        "<p><b>Единицы.</b> Длины — в метрах, радиусы инерции — в сантиметрах, площади — в см², силы — в ньютонах. "
        "Rp задается в единицах 10⁷ Н/м² (Rp = 21 — это 210 МПа). Моменты умножаются на 10⁴, что дает Н·м: они "
        "в тс·м, 1 тс·м принят равным 10⁴ Н·м; веса 1 м ригеля и проводов умножаются на 10, что дает Н/м: они "
        "в кгс/м, 1 кгс принят равным 10 Н. Шаг 1 читает h и b, шаг 2 — все свои числа, кроме моментов, с "
        "округлением до четырех знаков после запятой; результаты шагов 1 и 2 округляются до четырех знаков "
        "(половина — к четной цифре). Шаг 3 читает числа с точностью float (около семи значащих цифр) и "
        "записывает результаты с семью значащими цифрами.</p>");
}

QString step1(const Form& form)
{
    return QStringLiteral("<p><b>Шаг 1.</b> Гибкость элемента пояса (I-основа): λп = lп / iуг.п · 100 = %1 / %2 · "
                          "100%3. Гибкость раскоса (I-раскосы): λр = ((h + b) / 2) / iуг.р · 100 = ((%4 + %5) / 2) / "
                          "%6 · 100%7. Фактические площади шага 3 — площади S: основы для обоих поясов, раскосов для "
                          "раскосов.</p>")
        .arg(put(form, Field::txtLpp), put(form, Field::txtIy), result(form, Field::lblJ, {}), put(form, Field::txtH),
             put(form, Field::txtB), put(form, Field::txtIyy), result(form, Field::lblJ1, {}));
}

QString step2(const Form& form)
{
    return QStringLiteral(
               "<p><b>Шаг 2.</b> Момент сжатого (верхнего) пояса Мр — «Гололед Мр вп», если он не меньше «Vm Мр вп», "
               "иначе «Vm Мр вп». Провод i = 1…8 с расстоянием xᵢ («l (м)») и весами Gᵢ, Gгᵢ: погонная нагрузка "
               "qᵢ = (Gᵢ + 43 / l) + (Gгᵢ − Gᵢ) кгс/м, где 43 / l округлено до четырех знаков; груз "
               "Pᵢ = 10 · qᵢ · l · xᵢ Н, каждое произведение округлено до четырех знаков; на опору приходится "
               "Pᵢ / Lp. В точке провода 1 добавлена постоянная нагрузка 4047 Н: 4047 · x₁ / Lp.</p>"
               "<p>Опорная реакция Qp = 1,15 · (Lp / 2 · 10 · (gp + gpг) + Σ Pᵢ / Lp + 4047 · x₁ / Lp) = "
               "1,15 · (%1 / 2 · 10 · (%2 + %3) + Σ Pᵢ / Lp + 4047 · %4 / %1)%5.</p>"
               "<p>Усилие в раскосе Z = Qp / (2 · h / √(lп + h)) = %6 / (2 · %7 / √(%8 + %7))%9; Qp берется "
               "неокругленной.</p>")
        .arg(put(form, Field::txtLp), put(form, Field::txtG), put(form, Field::txtGg), put(form, Field::txtl1),
             result(form, Field::txtQp, kForceUnit), put(form, Field::txtQp), put(form, Field::txtH),
             put(form, Field::txtLpp), result(form, Field::txtZ1, kForceUnit));
}

QString step3(const Form& form)
{
    const std::string& flag = form.text(Field::Text15);
    const QString moment = flag == "1"   ? put(form, Field::txtMp)
                           : flag == "0" ? put(form, Field::txtMv)
                                         : QStringLiteral("0 (момент не выбран шагом 2)");
    const QString h = put(form, Field::txtH);
    const QString rp = put(form, Field::Text1);
    // Each item filled on its own: a field's text is never read as a place of another's.
    return QStringLiteral("<p><b>Шаг 3.</b> 10⁷ · Rp — расчетное сопротивление в Н/м², множитель 10⁴ переводит м² в "
                          "см².</p><ul>") +
           QStringLiteral("<li>Сжатый пояс: Aтр = Мр · 10⁴ / (2h) / (10⁷ · Rp · φп) · 10⁴ = %1 · 10⁴ / (2 · %2) / "
                          "(10⁷ · %3 · %4) · 10⁴%5.</li>")
               .arg(moment, h, rp, put(form, Field::Text3), result(form, Field::Text4, kAreaUnit)) +
           QStringLiteral("<li>Растянутый пояс: Aтр = Мн · 10⁴ / (2h) / (10⁷ · Rp) · 10⁴ = %1 · 10⁴ / (2 · %2) / "
                          "(10⁷ · %3) · 10⁴%4.</li>")
               .arg(put(form, Field::txtMn), h, rp, result(form, Field::Text7, kAreaUnit)) +
           QStringLiteral("<li>Раскосы: Aтр = Z / (10⁷ · Rp) · 10⁴ = %1 / (10⁷ · %2) · 10⁴%3.</li>")
               .arg(put(form, Field::txtZ1), rp, result(form, Field::txtz2, kAreaUnit)) +
           QStringLiteral("<li>Усилие в раскосе: раскос получает N = Qp / 2 = %1 / 2%2 («Фактическое усилие»), а "
                          "несет Nр = 10⁷ · Rp · φр · Sр / 10⁴ = 10⁷ · %3 · %4 · %5 / 10⁴%6 («Требуемое "
                          "усилие»).</li></ul>")
               .arg(put(form, Field::txtQp), result(form, Field::Text13, kForceUnit), rp, put(form, Field::Text5),
                    put(form, Field::Text10), result(form, Field::Text14, kForceUnit));
}

QString verdicts()
{
    return QStringLiteral(
        "<p><b>Вывод по строке.</b> Площадь держит, если Aтр ≤ S; запас (S − Aтр) / S — доля сечения, которую "
        "уголок еще может потерять, — округляется вниз до 0,1 %, нехватка (Aтр − S) / S — вверх. Усилие держит, "
        "если N ≤ Nр; запас (Nр − N) / Nр. Считается точно по числам, как они записаны в полях. Отрицательное "
        "требуемое значение (момент другого знака) сравнивается по модулю, и строка — «проверьте»; «проверьте» "
        "и строка, чей φ больше табличного для гибкости над ним (сжатый пояс — φп, усилие в раскосе — φр). "
        "Ригель держит, если держат все четыре строки; наименьший запас берется по строкам, которые держат или не "
        "держат; ригель, который не держит, назван по строке с наибольшей нехваткой. Строка без двух чисел или с "
        "фактическим значением не больше нуля не оценивается, и вывод по ригелю не делается.</p>"
        "<p><b>φ из таблицы.</b> Между соседними строками таблицы λ₁ ≤ λ ≤ λ₂: φ = φ₁ + (φ₂ − φ₁) · (λ − λ₁) / "
        "(λ₂ − λ₁), округляется вниз до трех знаков. Таблица — для λ от 0 до 200.</p>");
}

QString flange()
{
    return QStringLiteral(
        "<p><b>Наименьшая толщина полки t′</b> пишется в строке площади, которая держит, когда поля S и iуг "
        "элемента — числа уголка каталога, а фактическая площадь — его площадь A. Уголок b × t (мм) с радиусом "
        "закругления R утоняется равномерно, закругление сохраняется; t′ — большая из двух границ, округленная "
        "вверх до 0,1 мм:</p><ul>"
        "<li>Прочность: A(t′) = A − [t(2b − t) − t′(2b − t′)] / 100 см² не меньше Aтр. В сжатом поясе Aтр "
        "делится на φ, и φ утоненного уголка другой: i(t′) = iуг · ρ(b, t′) / ρ(b, t), λ(t′) = λ · iуг / i(t′), "
        "φ(t′) = φ · φт(λ(t′)) / φт(λ), требуемая площадь при t′ — Aтр · φт(λ) / φт(λ(t′)). Здесь ρ(b, t) = "
        "√(Imin / A) — наименьший радиус инерции уголка из прямоугольников b × t и (b − t) × t без закруглений, "
        "Imin = Ix − |Ixy| относительно центра тяжести; φт — φ таблицы, интерполированный без округления. "
        "Раскосы, кроме того, несут свое усилие: Nр · A(t′) / A · φ(t′) / φ не меньше |N|.</li>"
        "<li>Местная устойчивость сжатой полки (сжатый пояс и раскосы; СП 16.13330, СНиП II-23-81*): "
        "b − t′ − R ≤ t′ · λ̄uf · √(E / Ry), λ̄uf = 0,40 + 0,07 · λ̄, λ̄ = λ · √(Ry / E) в пределах 0,8…4, "
        "E = 2,06 · 10⁵ МПа, Ry = 10 · Rp МПа; отсюда t′ ≥ (b − R) / (1 + λ̄uf · √(E / Ry)). Граница толще самой "
        "полки t — строка «проверьте».</li></ul>"
        "<p>Оценка не учитывает неравномерный износ и язвы, потерю металла в закруглении и отверстия.</p>");
}

QString phiTable()
{
    const std::vector<PhiTableRow> rows = phiTableRows();
    constexpr std::size_t kPairs = 7;
    const std::size_t perColumn = (rows.size() + kPairs - 1) / kPairs;
    QString html = QStringLiteral("<p><b>Таблица φ</b> продольного изгиба центрально-сжатых стержней из сталей Ст3 "
                                  "и Ст4:</p>") +
                   QLatin1String(kTable) + QStringLiteral("<tr bgcolor=\"#e8e8e8\">");
    for (std::size_t pair = 0; pair < kPairs; ++pair) {
        html += QStringLiteral("<td align=\"center\"><b>λ</b></td><td align=\"center\"><b>φ</b></td>");
    }
    html += QStringLiteral("</tr>");
    for (std::size_t line = 0; line < perColumn; ++line) {
        html += QStringLiteral("<tr>");
        for (std::size_t pair = 0; pair < kPairs; ++pair) {
            const std::size_t at = pair * perColumn + line;
            html += at < rows.size() ? QStringLiteral("<td align=\"right\">%1</td><td align=\"center\">%2</td>")
                                           .arg(rows.at(at).slenderness)
                                           .arg(QString::fromStdString(rows.at(at).phi))
                                     : QStringLiteral("<td></td><td></td>");
        }
        html += QStringLiteral("</tr>");
    }
    return html + QStringLiteral("</table>");
}

QString angles(const Form& form)
{
    const std::array<std::pair<Member, const char*>, 2> members{{
        {Member::Chord, "пояса (основа)"},
        {Member::Diagonals, "раскосы"},
    }};
    QString rows;
    for (const auto& [member, name] : members) {
        if (const std::optional<std::size_t> held = heldAngle(form, member)) {
            const Angle& angle = angleCatalogue()[*held];
            rows += QStringLiteral("<tr><td>%1</td><td>%2</td><td align=\"right\">%3</td><td align=\"right\">%4</td>"
                                   "<td align=\"right\">%5</td><td align=\"right\">%6</td><td align=\"right\">%7</td>"
                                   "</tr>")
                        .arg(QString::fromUtf8(name), QString::fromStdString(designation(angle)),
                             QString::fromStdString(legText(angle)), QString::fromStdString(thicknessText(angle)),
                             QString::fromStdString(filletText(angle)), QString::fromStdString(areaText(angle)),
                             QString::fromStdString(radiusText(angle)));
        }
    }
    const QString title = QStringLiteral("<p><b>Уголки каталога</b> ГОСТ 8509-93 (стальные горячекатаные "
                                         "равнополочные; в программе — «Уголки…» на вкладке «шаг1»)");
    if (rows.isEmpty()) {
        return title + QStringLiteral(": сечения в полях не совпадают ни с одним уголком каталога, толщина полки не "
                                      "определялась.</p>");
    }
    return title + QStringLiteral(", чьи площадь и радиус инерции стоят в полях:</p>") + QLatin1String(kTable) +
           QStringLiteral("<tr bgcolor=\"#e8e8e8\"><td><b>Элемент</b></td><td><b>Уголок</b></td><td><b>b, мм</b></td>"
                          "<td><b>t, мм</b></td><td><b>R, мм</b></td><td><b>S, см²</b></td><td><b>iуг, см</b></td>"
                          "</tr>") +
           rows + QStringLiteral("</table>");
}

} // namespace

QString formulasHtml(const Form& form)
{
    const QString gap = QLatin1String(kGap);
    return QStringLiteral("<h3 style=\"page-break-before: always;\">Как получены числа</h3>") + units() + gap +
           step1(form) + gap + step2(form) + gap + step3(form) + verdicts() + gap + flange() + gap + phiTable() + gap +
           angles(form);
}

QString ownFormulasHtml(const Form& form)
{
    const QString gap = QLatin1String(kGap);
    return gap +
           QStringLiteral("<h3>Как получены числа этой опоры</h3><p>Единицы, правила выводов, толщина полки и "
                          "таблица φ — в конце отчета, в разделе «Как получены числа».</p>") +
           gap + step1(form) + gap + step2(form) + gap + step3(form) + gap + angles(form);
}

QString sharedFormulasHtml()
{
    const QString gap = QLatin1String(kGap);
    return QStringLiteral("<h3>Как получены числа</h3>") + units() + gap + verdicts() + gap + flange() + gap +
           phiTable();
}

} // namespace prochnar::report
