// Fuzzes a whole calculation: a form file and a sequence of clicks.
//
// Input: the first line names the clicks, one character each ('2' Command2,
// '3' Command3, '5' Command5, '6' Command6, '4' Command4; others are
// skipped); the rest is a form file. After every click: at most one message,
// the state its table gives, and results that are the program's answer (see
// pressAndCheck). A handler that touches a field outside the form throws and
// crashes here.

#include "calc/handlers.h"
#include "calc/map_form.h"
#include "cli/form_file.h"
#include "tests/support/wizard.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace prochnar;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t newline = input.find('\n');
    MapForm form;
    applyInitialState(form);
    try {
        readFormFile(newline == std::string_view::npos ? std::string_view{} : input.substr(newline + 1), form);
    } catch (const FormFileError&) {
        return 0;
    }
    for (const char c : input.substr(0, newline)) {
        if (const auto button = buttonFromName(std::string("Command") + c);
            button && !test_support::pressAndCheck(form, *button).empty()) {
            std::abort();
        }
    }
    return 0;
}
