// Golden files: what a real-data task printed or drew when its result was last checked by hand
// (tests/data/golden/NAME.txt). After a deliberate change of a result, PELVARON_WRITE_GOLDEN=1
// writes the files anew; the diff is then read like any other change.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include "temp_dir.h"

namespace pelvaron::testing {

/// The numbers of a text, and the text with each number replaced by "#".
inline std::pair<std::vector<double>, std::string> splitNumbers(const std::string& text) {
    static const std::regex number(R"([-+]?(\d+\.?\d*|\.\d+)([eE][-+]?\d+)?)");
    std::vector<double> values;
    std::string shape;
    auto at = text.cbegin();
    for (std::sregex_iterator m(text.begin(), text.end(), number), end; m != end; ++m) {
        shape.append(at, (*m)[0].first) += '#';
        values.push_back(std::strtod(m->str().c_str(), nullptr));
        at = (*m)[0].second;
    }
    shape.append(at, text.cend());
    return {values, shape};
}

/// `got` against the golden file `name`: the same words, and every number equal to the last
/// digits a compiler may round differently -- relative to each value and to the largest of the
/// file, so that a value near zero amid large ones is not judged alone.
inline void expectGolden(const std::string& name, const std::string& got) {
    const std::string golden = sourcePath("tests/data/golden/" + name + ".txt");
    if (std::getenv("PELVARON_WRITE_GOLDEN") != nullptr) return writeFile(golden, got);
    const auto [want, wantShape] = splitNumbers(readFile(golden));
    const auto [have, haveShape] = splitNumbers(got);
    ASSERT_EQ(haveShape, wantShape);
    double scale = 0;
    for (double w : want) scale = std::max(scale, std::fabs(w));
    for (std::size_t i = 0; i < want.size(); ++i)
        ASSERT_NEAR(have[i], want[i], 1e-9 * std::fabs(want[i]) + 1e-12 * scale) << "number " << i;
}

}  // namespace pelvaron::testing
