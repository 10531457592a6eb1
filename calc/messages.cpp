#include "messages.h"

#include "fields.h"

#include <cerrno>
#include <string>

namespace prochnar {

std::string_view messageText(Message message)
{
    switch (message) {
    case Message::None:
        return {};
    case Message::ValuesNotSet:
        return "Не установленны значения";
    case Message::CoefficientsNotSet:
        return "Не выбраны коэффиценты продольного изгиба.";
    case Message::DecimalComma:
        return "Десятичные вводятся через запяту.";
    case Message::Arithmetic:
        return "Ошибка вычисления: деление на ноль или переполнение. Проверьте исходные данные.";
    }
    return {};
}

MessageIcon messageIcon(Message message)
{
    // The two "not filled" messages are plain notices; the others report an error.
    switch (message) {
    case Message::DecimalComma:
    case Message::Arithmetic:
        return MessageIcon::Error;
    default:
        return MessageIcon::None;
    }
}

std::string noSlendernessText() { return "Гибкость I еще не вычислена: сначала подтвердите шаг1."; }

std::string slendernessOutsideTableText(std::string_view shown, std::int64_t first, std::int64_t last)
{
    return "Гибкость I = " + std::string(shown) + " вне таблицы: в ней J дан для I от " + std::to_string(first) +
           " до " + std::to_string(last) + ". Введите J сами.";
}

std::string rowsNotJudgedText(const std::vector<UnjudgedRow>& rows)
{
    return "Опора не проверена: " + unjudgedRowsText(rows) + ".";
}

std::string unjudgedRowsText(const std::vector<UnjudgedRow>& rows)
{
    std::string text;
    for (const UnjudgedRow& unjudged : rows) {
        text += (&unjudged == &rows.front() ? "«" : "; «") + std::string(unjudged.row) + "» — ";
        switch (unjudged.reason) {
        case Unjudged::DemandNotANumber:
            text += "требуемое значение не вычислено";
            break;
        case Unjudged::CapacityNotANumber:
            text += "фактическое значение не число";
            break;
        case Unjudged::CapacityNotPositive:
            text += "фактическое значение не больше нуля";
            break;
        }
    }
    return text;
}

std::string visibleText(std::string_view text)
{
    constexpr std::string_view kHex = "0123456789ABCDEF";
    const auto hex = [&](unsigned byte) { return std::string{kHex[byte >> 4U], kHex[byte & 0xFU]}; };
    std::string shown;
    shown.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const unsigned next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0U;
        if ((byte < 0x20 && byte != '\t') || byte == 0x7F) {
            shown += "\\x" + hex(byte);
        } else if (byte == 0xC2 && next >= 0x80 && next <= 0x9F) { // U+0080 to U+009F in UTF-8
            shown += "\\u00" + hex(next);
            ++i;
        } else {
            shown += static_cast<char>(byte);
        }
    }
    return shown;
}

std::string fieldMessageText(std::string_view column, std::string_view cell, std::string_view message)
{
    // A cell is quoted up to this many bytes, cut at a character.
    constexpr std::size_t kShownCell = 40;
    std::string shown;
    if (cell.empty()) {
        shown = "пусто";
    } else if (cell.size() <= kShownCell) {
        shown = "\"" + visibleText(cell) + "\"";
    } else {
        std::size_t cut = kShownCell;
        while (cut > 0 && (static_cast<unsigned char>(cell[cut]) & 0xC0U) == 0x80U) {
            --cut;
        }
        shown = "\"" + visibleText(cell.substr(0, cut)) + "…\"";
    }
    return visibleText(column) + ": " + shown + " — " + std::string(message);
}

std::string_view rowLongerThanHeaderText()
{
    return "В строке больше ячеек, чем столбцов в заголовке: строка не проверена.";
}

namespace {

// The right spelling of a header cell that names a field but for case.
std::string fieldSpelling(std::string_view name)
{
    const auto field = fieldFromNameIgnoringCase(name);
    return field ? std::string(fieldName(*field)) : std::string();
}

std::string faultWords(const FileFaultAt& at)
{
    switch (at.fault) {
    case FileFault::NoSuchFile:
        return "такого файла нет";
    case FileFault::NotAFile:
        return "это не файл, а папка, канал или устройство";
    case FileFault::Unreadable:
        return at.reason.empty() ? "файл не читается" : "файл не читается (" + at.reason + ")";
    case FileFault::TooLarge:
        return "файл больше 16 МБ, это не расчет";
    case FileFault::NotUtf8:
        return "это не текст UTF-8 — файл испорчен или это не расчет";
    case FileFault::NoEquals:
        return "строка не вида ИМЯ=ТЕКСТ";
    case FileFault::UnknownName:
        return "неизвестное имя «" + visibleText(at.name) + "»";
    case FileFault::BadState:
        return "у " + visibleText(at.name) + " может быть только 0 или 1";
    case FileFault::Missing:
        return "нет строки " + visibleText(at.name) + " — файл оборван или это не целый расчет";
    case FileFault::FieldTooLong:
        return "текст " + at.name + " длиннее " + at.reason + " знаков — поле окна не вместит его целиком";
    case FileFault::BadHistory:
        return "осмотры опоры не прочитаны: " + at.reason;
    case FileFault::NoHeader:
        return "нет строки заголовков";
    case FileFault::HeaderTooLong:
        return "строка заголовков длиннее 4 МБ";
    case FileFault::QuoteNotClosed:
        return "ячейка в кавычках не закрыта";
    case FileFault::QuoteOutOfPlace:
        return "кавычка не на своем месте";
    case FileFault::OutOfMemory:
        return "не хватает памяти";
    case FileFault::BrokenUtf8:
        return "знак не в UTF-8, хотя таблица до него в UTF-8 — сохраните ее в одной кодировке";
    case FileFault::Utf16:
        return "таблица в кодировке UTF-16 — сохраните ее в UTF-8 или windows-1251";
    case FileFault::Utf32:
        return "таблица в кодировке UTF-32 — сохраните ее в UTF-8 или windows-1251";
    case FileFault::CellTooLong:
        return "ячейка длиннее 64 КБ";
    case FileFault::RowTooLong:
        return "строка таблицы длиннее 4 МБ или 250 000 ячеек";
    case FileFault::DuplicateColumn:
        return "столбцы " + std::to_string(at.earlierCell) + " и " + std::to_string(at.cell) + " оба «" +
               visibleText(at.name) + "» — оставьте один";
    case FileFault::MisspeltColumn:
        return "столбец " + std::to_string(at.cell) + " «" + visibleText(at.name) + "» — пишите «" +
               fieldSpelling(at.name) + "»";
    }
    return {};
}

// Whether the fault is about a cell of a table, whose column is then named.
bool inCell(const FileFaultAt& at)
{
    switch (at.fault) {
    case FileFault::QuoteNotClosed:
    case FileFault::QuoteOutOfPlace:
    case FileFault::BrokenUtf8:
    case FileFault::CellTooLong:
        return !at.name.empty();
    default:
        return false;
    }
}

} // namespace

std::string faultText(const FileFaultAt& fault)
{
    std::string where;
    if (fault.line > 0) {
        where = "строка " + std::to_string(fault.line);
        if (fault.column > 0) {
            where += ", знак " + std::to_string(fault.column);
        }
        where += inCell(fault) ? ", столбец «" + visibleText(fault.name) + "»: " : ": ";
    }
    return where + faultWords(fault);
}

std::string commandFaultText(const FileFaultAt& fault)
{
    if (inCell(fault)) {
        FileFaultAt bare = fault;
        bare.name.clear();
        return "столбец «" + visibleText(fault.name) + "»: " + commandFaultText(bare);
    }
    if (fault.fault == FileFault::NotAFile && !fault.reason.empty()) {
        return "это не файл, а " + fault.reason;
    }
    return faultWords(fault);
}

std::string notAFileText(NotAFile what)
{
    switch (what) {
    case NotAFile::Folder:
        return "папка";
    case NotAFile::Pipe:
        return "канал (подайте его на стандартный ввод)";
    case NotAFile::Socket:
        return "сокет";
    case NotAFile::Device:
        return "устройство";
    }
    return {};
}

std::string systemErrorText(int error)
{
    switch (error) {
    case ENOENT:
        return "нет такого файла или папки";
    case EACCES:
    case EPERM:
        return "нет прав доступа";
    case ENOSPC:
        return "на диске нет места";
    case EDQUOT:
        return "исчерпана квота диска";
    case EROFS:
        return "файловая система только для чтения";
    case EISDIR:
        return "это папка";
    case ENOTDIR:
        return "часть пути не папка";
    case ENAMETOOLONG:
        return "слишком длинное имя";
    case ELOOP:
        return "слишком много символических ссылок";
    case EFBIG:
        return "файл слишком велик";
    case EIO:
        return "ошибка ввода-вывода";
    case EBADF:
        return "поток закрыт";
    case EPIPE:
        return "читающая сторона канала закрыта";
    case EMFILE:
    case ENFILE:
        return "открыто слишком много файлов";
    case ENOMEM:
        return "не хватает памяти";
    case EBUSY:
    case ETXTBSY:
        return "файл занят";
    case EXDEV:
        return "файл на другом диске";
    default:
        return "ошибка системы " + std::to_string(error);
    }
}

std::string notWrittenText(int error)
{
    if (error == kNotRegularOutput) {
        return "не записывается: это не обычный файл";
    }
    return "не записывается (" + (error != 0 ? systemErrorText(error) : "диск полон или файл слишком велик?") + ")";
}

std::string tableSummaryText(std::size_t rows, std::size_t holding, std::size_t notHolding, std::size_t toCheck)
{
    return "Опор: " + std::to_string(rows) + ", держат: " + std::to_string(holding) +
           ", не держат: " + std::to_string(notHolding) + ", проверьте: " + std::to_string(toCheck) +
           ", не проверены: " + std::to_string(rows - holding - notHolding - toCheck) + ".";
}

std::string_view measurementFaultText(MeasurementFault fault)
{
    switch (fault) {
    case MeasurementFault::UnknownAngle:
        return "такого уголка нет в сортаменте.";
    case MeasurementFault::NoSuchDate:
        return "такой даты нет (пишется ДД.ММ.ГГГГ или ГГГГ-ММ-ДД).";
    case MeasurementFault::NotAYear:
        return "это не год.";
    case MeasurementFault::NotAThickness:
        return "толщина — число мм больше нуля, не больше одного знака после запятой.";
    case MeasurementFault::AboveNominal:
        return "толщина больше, чем у уголка по сортаменту.";
    case MeasurementFault::WithoutAngle:
        return "толщина без уголка: укажите уголок по сортаменту.";
    case MeasurementFault::AfterInspection:
        return "год установки позже даты осмотра.";
    case MeasurementFault::AfterToday:
        return "дата осмотра позже сегодняшней.";
    }
    return {};
}

std::string sectionGivenTwiceText(std::string_view measured, std::string_view field)
{
    return "«" + std::string(measured) + "» и «" + std::string(field) + "»: сечение задано дважды — оставьте одно.";
}

std::string lifeNotCountedText(bool chord, const std::vector<std::string_view>& missing)
{
    std::string text = chord ? "срок пояса не рассчитан: нет " : "срок раскосов не рассчитан: нет ";
    for (std::size_t i = 0; i < missing.size(); ++i) {
        text += (i == 0 ? "«" : ", «") + std::string(missing[i]) + "»";
    }
    return text;
}

std::string memberLifeNoteText(bool chord, std::string_view life)
{
    return (chord ? "пояс: " : "раскосы: ") + std::string(life);
}

std::string dueSoonText(std::size_t girders)
{
    return "к замене в ближайшие 5 лет: " + std::to_string(girders) + " опор";
}

std::string_view planWithoutSupportText()
{
    return "для плана замены нужен столбец «Опора»: по нему строки собираются в опоры";
}

std::string tableNotReadText(const FileFaultAt& fault) { return "Таблица не дочитана — " + faultText(fault) + "."; }

std::string tableDecimalText(bool point)
{
    return std::string("десятичный разделитель: ") + (point ? "точка" : "запятая");
}

std::string_view otherSeparatorText(bool point)
{
    return point ? "Десятичные в этой таблице вводятся через точку." : messageText(Message::DecimalComma);
}

namespace {

// "столбец «txtLp»: "6.875"", or "в столбце «txtLp» "6.875"" inside a sentence.
std::string cellText(const NumberCell& cell, bool inside = false)
{
    return (inside ? "в столбце «" : "столбец «") + visibleText(cell.column) + (inside ? "» \"" : "»: \"") +
           visibleText(cell.text) + "\"";
}

} // namespace

std::string groupedNumberText(const NumberCell& cell)
{
    return cellText(cell) + " — число с разделителем разрядов читается двояко";
}

std::string mixedDecimalsText(const NumberCell& cell, bool point, const NumberCell& other)
{
    return cellText(cell) + " — десятичная " + (point ? "точка" : "запятая") + ", а в строке " +
           std::to_string(other.line) + " " + cellText(other, true) + " — " + (point ? "запятая" : "точка") +
           ": в таблице оба десятичных разделителя";
}

} // namespace prochnar
