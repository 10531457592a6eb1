// Fuzzes a whole calculation. The first line of the input names clicks, '2'
// for Command2 and so on; the rest is a form file. Every click must pass
// pressAndCheck; a handler touching a field outside the form crashes here.

#include "calc/handlers.h"
#include "calc/map_form.h"
#include "formats/form_file.h"
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
    std::size_t column = 0;
    for (const char c : input.substr(0, newline)) {
        if (const auto button = buttonFromName(std::string("Command") + c);
            button && !test_support::pressAndCheck(form, *button, column).empty()) {
            std::abort();
        }
    }
    return 0;
}
