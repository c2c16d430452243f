// Bruker experiment writer for tests and the bundled example.
#include "bruker_writer.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <sstream>

#include "temp_dir.h"

namespace pelvaron::testing {

namespace {

/// Labels with the precision that keeps every value exact.
struct Labels {
    std::ostringstream out;
    Labels() { out.precision(17); }
    template <typename T>
    Labels& add(const char* name, const std::optional<T>& v) {
        if (v) out << "##$" << name << "= " << *v << "\n";
        return *this;
    }
};

}  // namespace

std::string encodeBrukerValues(const std::vector<double>& values, bool bigEndian, bool doubles) {
    const int width = doubles ? 8 : 4;
    std::string out;
    for (double v : values) {
        std::uint64_t bits = static_cast<std::uint32_t>(static_cast<std::int32_t>(std::llround(v)));
        if (doubles) std::memcpy(&bits, &v, 8);
        for (int i = 0; i < width; ++i)
            out.push_back(static_cast<char>(bits >> (bigEndian ? 8 * (width - 1 - i) : 8 * i)));
    }
    return out;
}

BrukerFiles brukerFid(const BrukerFidSpec& spec) {
    Labels acqus;
    acqus.out << "##TITLE= Parameter file, UXNMR " << spec.title
              << "\n##JCAMPDX= 5.0\n##DATATYPE= Parameter Values\n##ORIGIN= Pelvaron tests\n";
    acqus.add("AQ_mod", std::optional(spec.aqMode)).add("BYTORDA", std::optional(spec.bigEndian ? 1 : 0));
    acqus.add("DECIM", spec.decim).add("DSPFVS", spec.dspfvs).add("GRPDLY", spec.grpdly);
    acqus.add("BF1", std::optional(spec.bf1)).add("DTYPA", std::optional(spec.doubles ? 2 : 0));
    acqus.add("NS", std::optional(16)).add("O1", spec.o1).add("SW_h", std::optional(spec.sw));
    acqus.add("TD", std::optional(spec.td.value_or(static_cast<int>(spec.values.size()))));
    acqus.out << "##END=\n";
    BrukerFiles files{{"acqus", acqus.out.str()},
                      {"fid", encodeBrukerValues(spec.values, spec.bigEndian, spec.doubles)}};
    if (spec.procOffset) {
        Labels proc;
        proc.out << "##TITLE= Parameter file\n";
        proc.add("OFFSET", spec.procOffset).add("SI", std::optional(8192)).out << "##END=\n";
        files["pdata/1/proc"] = proc.out.str();
    }
    if (spec.procsText) files["pdata/1/procs"] = *spec.procsText;
    return files;
}

BrukerFiles brukerProcessed(const BrukerProcessedSpec& spec) {
    Labels procs;
    procs.out << "##TITLE= Parameter file\n";
    procs.add("DTYPP", std::optional(spec.doubles ? 2 : 0)).add("SF", std::optional(spec.sf)).add("SI", spec.si);
    procs.add("SW_p", std::optional(spec.swp)).add("NC_proc", spec.ncProc).add("OFFSET", spec.offset);
    procs.add("TDeff", std::optional(spec.tdeff.value_or(static_cast<int>(2 * spec.real.size()))));
    procs.out << "##END=\n";
    return {{"procs", procs.out.str()},
            {"1r", encodeBrukerValues(spec.real, spec.bigEndian, spec.doubles)},
            {"1i", encodeBrukerValues(spec.imag, spec.bigEndian, spec.doubles)}};
}

void writeBrukerFiles(const std::string& dir, const BrukerFiles& files) {
    for (const auto& [name, bytes] : files) writeFile(dir + "/" + name, bytes);
}

std::string writeBrukerFid(const std::string& dir, const BrukerFidSpec& spec) {
    writeBrukerFiles(dir, brukerFid(spec));
    return dir + "/fid";
}

std::string writeBrukerProcessed(const std::string& dir, const BrukerProcessedSpec& spec) {
    writeBrukerFiles(dir, brukerProcessed(spec));
    return dir + "/1r";
}

std::string parameterFile(const std::vector<std::pair<std::string, std::string>>& values) {
    std::string text = "##TITLE= Parameter file, Pelvaron tests\n##JCAMPDX= 5.0\n";
    for (const auto& [name, value] : values) text += "##$" + name + "= " + value + "\n";
    return text + "##END=\n";
}

}  // namespace pelvaron::testing
