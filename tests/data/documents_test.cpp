// The shipped documents against the data they are made from: the guidance
// table holds every pair of the buckling table, the catalogue every angle of
// its data file, and a data file that cannot be trusted makes no catalogue.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace prochnar {
namespace {

namespace fs = std::filesystem;

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The cells of each row below the header of a data file, with decimal commas.
std::vector<std::vector<std::string>> csvRows(const char* name)
{
    std::string text = readFile(fs::path(PROCHNAR_DATA_DIR) / "sources" / name);
    std::replace(text.begin(), text.end(), ',', ';');
    std::replace(text.begin(), text.end(), '.', ',');
    std::istringstream lines(text.substr(text.find('\n') + 1)); // below the header
    std::vector<std::vector<std::string>> rows;
    for (std::string line; std::getline(lines, line);) {
        std::istringstream cells(line);
        rows.emplace_back();
        for (std::string cell; std::getline(cells, cell, ';');) {
            rows.back().push_back(cell);
        }
    }
    return rows;
}

std::string document(const char* name) { return readFile(fs::path(PROCHNAR_DOCUMENTS_DIR) / name); }

TEST(Documents, GuidanceTableHoldsEveryPairOfTheBucklingTable)
{
    const std::string gip = document("gip.txt");
    const auto rows = csvRows("phi_st3_st4.csv");
    ASSERT_EQ(rows.size(), 21U);
    for (const auto& row : rows) {
        EXPECT_TRUE(std::regex_search(gip, std::regex("(\\n|\\t| )" + row[0] + "\\t" + row[1] + "\\*?(\\t|\\n)")))
            << row[0] << " " << row[1];
    }
}

TEST(Documents, CatalogueHoldsEveryAngleOfItsDataInOrder)
{
    const std::string rtf = document("profel.doc");
    ASSERT_TRUE(rtf.starts_with("{\\rtf1"));
    std::size_t at = 0;
    const auto rows = csvRows("angles_gost8509.csv");
    ASSERT_GT(rows.size(), 100U);
    for (const auto& row : rows) { // b × t, area, least radius, mass
        const std::string cells =
            row[0] + "\\u160?\\u215?\\u160?" + row[1] + "\\cell " + row[2] + "\\cell " + row[5] + "\\cell " + row[3];
        at = rtf.find(cells, at);
        ASSERT_NE(at, std::string::npos) << cells;
    }
}

TEST(Documents, UntrustedDataMakesNoCatalogue)
{
    const fs::path dir = fs::temp_directory_path() / ("prochnar-profel-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string header = "b_mm,t_mm,area_cm2,mass_kg_m,i_x_cm,i_min_cm\n";
    for (const auto& [csv, says] : std::initializer_list<std::pair<std::string, std::string>>{
             {header + "50,5,4.80,3.77,1.53\n", ":2: expected 6 columns"},
             {header + "50,5,-4.80,3.77,1.53,0.98\n", ":2: column area_cm2"},
             {header + "50,5,5.69,4.47,1.52,0.98\n", ":2: 50x5: area_cm2"},
             {header + "50,5,4.80,3.77,1.53,0.98\n20,3,1.13,0.89,0.59,0.39\n", ":3:"},
             {header, ": the file holds no profile"}}) {
        std::ofstream(dir / "angles.csv", std::ios::binary) << csv;
        const std::string command = std::string(PROCHNAR_MAKE_PROFEL) + " " + (dir / "angles.csv").string() + " " +
                                    (dir / "profel.doc").string() + " 2>" + (dir / "errors").string();
        const int status = std::system(command.c_str());
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << csv;
        EXPECT_FALSE(fs::exists(dir / "profel.doc")) << csv;
        EXPECT_NE(readFile(dir / "errors").find("angles.csv" + says), std::string::npos) << readFile(dir / "errors");
    }
    fs::remove_all(dir);
}

} // namespace
} // namespace prochnar
