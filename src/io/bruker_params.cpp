// Reading the processing parameters of a Bruker processed data set.
#include "io/bruker_params.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "io/parameter_words.h"

namespace pelvaron::io {

ProcessingParams parseProcessingParams(std::string_view content) {
    const ParameterWords words(content);
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
        {"##$FCOR=", &ProcessingParams::FCOR},
    };
    static constexpr LongLabel kLongs[] = {
        {"##$SI=", &ProcessingParams::SI},           {"##$TDeff=", &ProcessingParams::TDeff},
        {"##$NC_proc=", &ProcessingParams::NC_proc}, {"##$BYTORDP=", &ProcessingParams::BYTORDP},
        {"##$DTYPP=", &ProcessingParams::DTYPP},     {"##$WDW=", &ProcessingParams::WDW},
        {"##$PH_mod=", &ProcessingParams::PH_mod},   {"##$BC_mod=", &ProcessingParams::BC_mod},
    };
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (words[i].substr(0, 7) == "VERSION") {
            if (i + 1 < words.size()) p.versionXwin = words[++i].substr(0, 4) == "XWIN";
            continue;
        }
        if (!isLabelWord(words[i])) continue;
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

RecordedProcessing recordedProcessing(const ProcessingParams& p) {
    auto toInt = [](std::optional<long> v) {
        return v ? static_cast<int>(std::clamp<long>(*v, 0, std::numeric_limits<int>::max())) : 0;
    };
    RecordedProcessing r;
    r.present = true;
    r.WDW = p.WDW ? static_cast<int>(std::clamp<long>(*p.WDW, -1, 100)) : 0;
    r.LB = p.LB.value_or(0.0);
    r.GB = p.GB.value_or(0.0);
    r.SSB = p.SSB.value_or(0.0);
    r.SI = toInt(p.SI);
    r.TDeff = toInt(p.TDeff);
    r.PHC0 = p.PHC0.value_or(0.0);
    r.PHC1 = p.PHC1.value_or(0.0);
    r.FCOR = p.FCOR.value_or(0.5);
    // Without the label the phase is applied, as before the mode was read.
    r.PH_mod = p.PH_mod ? static_cast<int>(std::clamp<long>(*p.PH_mod, 0, 100)) : 1;
    r.BC_mod = p.BC_mod ? static_cast<int>(std::clamp<long>(*p.BC_mod, 0, 100)) : 0;
    r.haveOffset = p.OFFSET.has_value() && p.SW_p.has_value();
    r.OFFSET = p.OFFSET.value_or(0.0);
    r.SW_p = p.SW_p.value_or(0.0);
    r.SF = p.SF.value_or(0.0);
    return r;
}

bool coversWholeWidth(double swP, double sw) {
    return std::isfinite(swP) && std::isfinite(sw) && sw > 0.0 && std::fabs(swP - sw) <= 1e-6 * sw;
}

}  // namespace pelvaron::io
