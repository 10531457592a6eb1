#include "messages.h"

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

} // namespace prochnar
