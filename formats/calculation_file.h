#pragma once

#include "calc/map_form.h"
#include "calc/messages.h"
#include "calc/table_run.h"
#include "formats/form_file.h"
#include "formats/girder_history.h"
#include "formats/girder_identity.h"
#include "formats/table_life.h"

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace prochnar {

// A calculation as its file keeps it: every field and the wizard's state,
// the last click of each button with what it showed, and which girder it
// documents.
struct Calculation {
    MapForm form;
    std::vector<PressRecord> presses;
    GirderIdentity identity = {};
    GirderHistory history = {};
    // The results whose text in the file differed from the recomputed one,
    // in file order: none for a calculation as the program wrote it.
    std::vector<Field> recomputed;
};

// The calculation with its results recomputed from its inputs, never taken
// from the file: from the window's start, with the inputs as saved, the
// confirming presses that the saved wizard state has passed are made again
// through the same handlers (step 1 when step 2 is open, step 2 when
// "Выполнить" is enabled, and "Выполнить" when the file shows it was pressed:
// a click of it is recorded or one of its results is written). The inputs
// and the wizard's state stay exactly as saved; every result is the
// recomputed one (the window's start text for a step not passed), the
// clicks are the recomputation's with what it showed, and the results that
// differed from the saved ones are named.
[[nodiscard]] Calculation recomputed(const Calculation& saved);

// A table's girder as the wizard opens it: the row's form
// (TableRun::girderForm) from the window's start, computed by the three
// confirming presses through the handlers, with the last click of each and
// what it showed, and the identity of the row (its columns are in place in
// run.header()).
[[nodiscard]] Calculation girderCalculation(TableRun& run, const std::vector<std::string>& row);
// The same for a table read with its measurement columns: the form with
// the sections its measured angles give and the row's history
// (TableLife::girder).
[[nodiscard]] Calculation girderCalculation(TableLife& life, const std::vector<std::string>& row);

// A file that is not a whole calculation, and why.
class CalculationFileError : public std::runtime_error {
public:
    explicit CalculationFileError(FileFaultAt fault) : std::runtime_error(faultText(fault)), fault_{std::move(fault)} {}
    [[nodiscard]] const FileFaultAt& fault() const { return fault_; }

private:
    FileFaultAt fault_;
};

// Reads a whole calculation, as the window saved it or prochnar-calc printed
// it: a regular file of at most kMaxFormFileSize bytes, UTF-8, naming every
// field and state property, none of whose texts (the identity's too, named
// "girder KEY") is longer than maxChars characters (FileFault::FieldTooLong
// at its line: a window whose fields hold fewer would cut it). Its results
// are recomputed(). Throws CalculationFileError.
[[nodiscard]] Calculation readCalculationFile(const std::filesystem::path& path,
                                              std::size_t maxChars = kMaxFormFileSize);

// The same from the bytes of a file.
[[nodiscard]] Calculation readCalculation(std::string_view content, std::size_t maxChars = kMaxFormFileSize);

// The text of a calculation's file: the identity's lines, the history's,
// the clicks, the lives of the member kinds that the history gives with
// the form's inputs (comments, "# life chord: …", never read back), then
// the whole form; without an identity and a history, the clicks and the
// form alone.
[[nodiscard]] std::string calculationText(const Form& form, const std::vector<PressRecord>& presses,
                                          const GirderIdentity& identity, const GirderHistory& history = {});

// The lives of the member kinds and the girder's replacement year as the
// comment lines of a calculation's file, "# life chord: утонение …",
// "# life diagonals: …", "# life girder: замена пояса до 2059 г. (через
// 34,8 года)"; "" for a history without inspections.
[[nodiscard]] std::string lifeLines(const Form& form, const GirderHistory& history);

} // namespace prochnar
