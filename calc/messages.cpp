#include "messages.h"

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
    std::string text = "Опора не проверена:";
    for (const UnjudgedRow& unjudged : rows) {
        text += (&unjudged == &rows.front() ? " «" : "; «") + std::string(unjudged.row) + "» — ";
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
    return text + ".";
}

std::string_view rowLongerThanHeaderText()
{
    return "В строке больше ячеек, чем столбцов в заголовке: строка не проверена.";
}

namespace {

std::string faultWords(const FileFaultAt& at)
{
    switch (at.fault) {
    case FileFault::NoSuchFile:
        return "такого файла нет";
    case FileFault::NotAFile:
        return "это не файл";
    case FileFault::Unreadable:
        return at.reason.empty() ? "файл не читается" : "файл не читается (" + at.reason + ")";
    case FileFault::TooLarge:
        return "файл больше 16 МБ, это не расчет";
    case FileFault::NotUtf8:
        return "это не текст UTF-8 — файл испорчен или это не расчет";
    case FileFault::NoEquals:
        return "строка не вида ИМЯ=ТЕКСТ";
    case FileFault::UnknownName:
        return "неизвестное имя «" + at.name + "»";
    case FileFault::BadState:
        return "у " + at.name + " может быть только 0 или 1";
    case FileFault::Missing:
        return "нет строки " + at.name + " — файл оборван или это не целый расчет";
    case FileFault::FieldTooLong:
        return "текст " + at.name + " длиннее " + at.reason + " знаков — поле окна не вместит его целиком";
    case FileFault::NoHeader:
        return "нет строки заголовков";
    case FileFault::HeaderTooLong:
        return "строка заголовков слишком длинная";
    case FileFault::QuoteNotClosed:
        return "ячейка в кавычках не закрыта";
    case FileFault::QuoteOutOfPlace:
        return "кавычка не на своем месте";
    case FileFault::OutOfMemory:
        return "не хватает памяти";
    case FileFault::NeitherUtf8Nor1251:
        return "кодировка не UTF-8 и не windows-1251";
    }
    return {};
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
        where += ": ";
    }
    return where + faultWords(fault);
}

std::string commandFaultText(const FileFaultAt& fault)
{
    switch (fault.fault) {
    case FileFault::NoSuchFile:
    case FileFault::NotAFile:
    case FileFault::Unreadable:
        return "cannot be read";
    case FileFault::TooLarge:
        return "too large for a form (over 16 MiB)";
    case FileFault::NotUtf8:
        return "not valid UTF-8";
    case FileFault::NoEquals:
        return "expected NAME=TEXT";
    case FileFault::UnknownName:
        return "unknown name '" + fault.name + "'";
    case FileFault::BadState:
        return "the value of " + fault.name + " must be 0 or 1";
    case FileFault::Missing:
        return "no line for " + fault.name;
    case FileFault::FieldTooLong:
        return "the text of " + fault.name + " is longer than " + fault.reason + " characters";
    case FileFault::NoHeader:
        return "no header row";
    case FileFault::HeaderTooLong:
        return "the header row is too long";
    case FileFault::QuoteNotClosed:
        return "a quoted cell is not closed";
    case FileFault::QuoteOutOfPlace:
        return "a quote out of place";
    case FileFault::OutOfMemory:
        return "out of memory";
    case FileFault::NeitherUtf8Nor1251:
        return "neither UTF-8 nor windows-1251 throughout";
    }
    return {};
}

std::string tableSummaryText(std::size_t rows, std::size_t holding, std::size_t notHolding)
{
    return "Опор: " + std::to_string(rows) + ", держат: " + std::to_string(holding) +
           ", не держат: " + std::to_string(notHolding) +
           ", не проверены: " + std::to_string(rows - holding - notHolding) + ".";
}

std::string tableNotReadText(const FileFaultAt& fault) { return "Таблица не дочитана — " + faultText(fault) + "."; }

} // namespace prochnar
