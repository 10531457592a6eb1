// Runs the case tables of cases/: the number conversions and the three steps
// with their resets, as inputs and expected texts. A failure names the file,
// the line and the case. Each file explains its own columns.

#include "calc/convert.h"
#include "calc/errors.h"
#include "calc/fields.h"
#include "calc/handlers.h"
#include "calc/map_form.h"
#include "tests/support/wizard.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <locale>
#include <map>
#include <string>
#include <vector>

namespace prochnar {
namespace {

// The suite runs again under locales with a decimal comma (see CMakeLists.txt),
// which the conversions must not notice; a locale that is not installed throws.
// NOLINTNEXTLINE(cert-err58-cpp)
const bool kLocaleSet = std::getenv("PROCHNAR_TEST_LOCALE") != nullptr &&
                        (std::locale::global(std::locale(std::getenv("PROCHNAR_TEST_LOCALE"))), true);

// A cell: trimmed, or exactly as quoted; then {TEXT*N} repeated.
std::string cell(std::string_view raw)
{
    const auto first = std::min(raw.find_first_not_of(' '), raw.size());
    raw = raw.substr(first, raw.find_last_not_of(' ') + 1 - first);
    std::string text(raw.size() >= 2 && raw.front() == '"' && raw.back() == '"' ? raw.substr(1, raw.size() - 2) : raw);
    for (std::size_t open; (open = text.find('{')) != std::string::npos;) {
        const std::size_t star = text.find('*', open);
        const std::size_t close = text.find('}', star);
        std::string repeated;
        for (int n = std::stoi(text.substr(star + 1, close - star - 1)); n > 0; --n) {
            repeated += text.substr(open + 1, star - open - 1);
        }
        text.replace(open, close + 1 - open, repeated);
    }
    return text;
}

std::vector<std::string> split(const std::string& line, char separator, bool asCells = true)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t at; (at = line.find(separator, start)) != std::string::npos; start = at + 1) {
        parts.push_back(asCells ? cell(line.substr(start, at - start)) : line.substr(start, at - start));
    }
    parts.push_back(asCells ? cell(line.substr(start)) : line.substr(start));
    return parts;
}

// Calls run(directive, cells, where) for every line that is not empty or a
// comment: for "@directive REST", with REST as the one cell; for a case, with
// its cells and an empty directive.
void readCases(const char* name,
               const std::function<void(const std::string&, const std::vector<std::string>&, const std::string&)>& run)
{
    std::ifstream in(std::string(PROCHNAR_CASES_DIR) + "/" + name);
    ASSERT_TRUE(in) << name;
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        const std::string where = std::string(name) + ":" + std::to_string(++number);
        if (line.starts_with("@")) {
            const std::size_t space = std::min(line.find(' '), line.size());
            run(line.substr(1, space - 1), {line.substr(std::min(space + 1, line.size()))}, where);
        } else if (!line.empty() && !line.starts_with("#")) {
            run({}, split(line, '|'), where);
        }
    }
}

std::string outcome(const std::function<std::string()>& convert)
{
    try {
        return convert();
    } catch (const ConversionError&) {
        return "not a number";
    } catch (const ArithmeticError&) {
        return "out of range";
    }
}

template <typename T> std::string shortest(T value)
{
    char text[64];
    return {text, std::to_chars(text, text + sizeof text, value).ptr};
}

TEST(Cases, Numbers)
{
    std::string kind;
    readCases("numbers.cases",
              [&kind](const std::string& directive, const std::vector<std::string>& c, const std::string& where) {
                  if (!directive.empty()) {
                      kind = c.front();
                      return;
                  }
                  const auto f = [](const std::string& text) { return textToFixed4(text); };
                  const std::map<std::string, std::function<std::string(const std::string&)>> kinds{
                      {"fixed4", [](const std::string& t) { return toText(textToFixed4(t)); }},
                      {"double", [](const std::string& t) { return shortest(textToDouble(t)); }},
                      {"single", [](const std::string& t) { return shortest(textToSingle(t)); }},
                      {"singletext", [](const std::string& t) { return singleToText(textToSingle(t)); }},
                      {"fromdouble", [](const std::string& t) { return toText(Fixed4::fromDouble(textToDouble(t))); }},
                      {"product", [&](const std::string&) { return toText(f(c[0]) * f(c[1])); }},
                      {"sum", [&](const std::string&) { return toText(10 * f(c[0]) + f(c[1]) - f(c[2])); }},
                  };
                  if (kind == "syntax") {
                      for (const char* each : {"fixed4", "double", "single"}) {
                          const auto convert = kinds.at(each);
                          const std::string same = c[1] == "not a number" ? c[1] : convert(c[1]);
                          EXPECT_EQ(outcome([&] { return convert(c[0]); }), same) << where << " as " << each;
                      }
                      return;
                  }
                  EXPECT_EQ(outcome([&] { return kinds.at(kind)(c[0]); }), c.back()) << where;
              });
}

TEST(Cases, StepsAndResets)
{
    Button button = Button::Command2;
    std::vector<std::string> results;
    std::string base;
    readCases(
        "steps.cases", [&](const std::string& directive, const std::vector<std::string>& c, const std::string& where) {
            if (directive == "press") {
                button = buttonFromName(c.front()).value();
            } else if (directive == "results") {
                results = split(c.front(), ' ', false);
            } else if (directive == "base") {
                base = c.front();
            } else {
                ASSERT_EQ(c.size(), results.size() + 3) << where << ": name, edits, the results and the message";
                MapForm form;
                test_support::fillWorkedExample(form);
                for (const std::string& assignment : split(base + ";" + c[1], ';', false)) {
                    const std::size_t equals = assignment.find('=');
                    const std::string name = cell(assignment.substr(0, equals));
                    const auto state = stateControlFromName(name);
                    if (equals != std::string::npos) {
                        const std::string text = cell(assignment.substr(equals + 1));
                        state ? form.setState(*state, text == "1") : form.setText(fieldFromName(name).value(), text);
                    }
                }
                ASSERT_TRUE(press(form, button)) << where;
                std::vector<std::string> shown;
                for (const std::string& field : results) {
                    const auto state = stateControlFromName(field);
                    shown.push_back(state ? (form.state(*state) ? "1" : "0") : form.text(fieldFromName(field).value()));
                }
                shown.emplace_back();
                for (const auto& message : form.takeMessages()) {
                    shown.back() += (message.icon == MessageIcon::Error ? "error: " : "") + message.text;
                }
                EXPECT_EQ(shown, std::vector<std::string>(c.begin() + 2, c.end())) << where << ": " << c.front();
            }
        });
}

} // namespace
} // namespace prochnar
