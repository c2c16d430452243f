// Reading the processing parameters of a Bruker processed data set.
#include "io/bruker_params.h"

#include <cmath>

#include "io/companion.h"
#include "io/parameter_words.h"

namespace pelvaron::io {

std::optional<ProcessingParams> readProcessingParams(const std::string& path) {
    auto content = readWholeFile(path);
    if (!content) return std::nullopt;
    return parseProcessingParams(std::move(*content));
}

ProcessingParams parseProcessingParams(std::string content) {
    const ParameterWords words(std::move(content));
    ProcessingParams p;
    struct DoubleLabel {
        const char* label;
        std::optional<double> ProcessingParams::*field;
    };
    struct LongLabel {
        const char* label;
        std::optional<long> ProcessingParams::*field;
    };
    static constexpr DoubleLabel kDoubles[] = {
        {"##$OFFSET=", &ProcessingParams::OFFSET}, {"##$SW_p=", &ProcessingParams::SW_p},
        {"##$SF=", &ProcessingParams::SF},         {"##$LB=", &ProcessingParams::LB},
        {"##$GB=", &ProcessingParams::GB},         {"##$SSB=", &ProcessingParams::SSB},
        {"##$PHC0=", &ProcessingParams::PHC0},     {"##$PHC1=", &ProcessingParams::PHC1},
    };
    static constexpr LongLabel kLongs[] = {
        {"##$SI=", &ProcessingParams::SI},           {"##$TDeff=", &ProcessingParams::TDeff},
        {"##$NC_proc=", &ProcessingParams::NC_proc}, {"##$BYTORDP=", &ProcessingParams::BYTORDP},
        {"##$DTYPP=", &ProcessingParams::DTYPP},     {"##$WDW=", &ProcessingParams::WDW},
    };
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (words[i].substr(0, 7) == "VERSION") {
            if (i + 1 < words.size()) p.versionXwin = words[++i].substr(0, 4) == "XWIN";
            continue;
        }
        bool matched = false;
        for (const DoubleLabel& d : kDoubles) {
            std::size_t at = i;
            if (auto v = words.valueOf(at, d.label)) {
                const double x = wordToDouble(*v);
                // A value that is no finite number describes nothing.
                if (std::isfinite(x)) p.*d.field = x;
                i = at;
                matched = true;
                break;
            }
        }
        if (matched) continue;
        for (const LongLabel& l : kLongs) {
            std::size_t at = i;
            if (auto v = words.valueOf(at, l.label)) {
                p.*l.field = wordToLong(*v);
                i = at;
                break;
            }
        }
    }
    return p;
}

bool coversWholeWidth(double swP, double sw) {
    return std::isfinite(swP) && std::isfinite(sw) && sw > 0.0 && std::fabs(swP - sw) <= 1e-6 * sw;
}

}  // namespace pelvaron::io
