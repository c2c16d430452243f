// Bruker experiment writer for tests and the bundled example.
#include "bruker_writer.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <sstream>

#include "temp_dir.h"

namespace pelvaron::testing {

namespace {

/// A parameter file: the title line, labels with the precision that keeps every value exact, and
/// "##END=". Absent values write no label.
struct Labels {
    std::ostringstream out;
    explicit Labels(const std::string& title) {
        out.precision(17);
        out << "##TITLE= " << title << "\n";
    }
    template <typename T>
    Labels& add(const char* name, const T& v) {
        out << "##$" << name << "= " << v << "\n";
        return *this;
    }
    template <typename T>
    Labels& add(const char* name, const std::optional<T>& v) {
        return v ? add(name, *v) : *this;
    }
    std::string end() { return out.str() + "##END=\n"; }
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
    Labels acqus("Parameter file, UXNMR " + spec.title +
                 "\n##JCAMPDX= 5.0\n##DATATYPE= Parameter Values\n##ORIGIN= Pelvaron tests");
    acqus.add("AQ_mod", spec.aqMode).add("BYTORDA", spec.bigEndian ? 1 : 0).add("DECIM", spec.decim);
    acqus.add("DSPFVS", spec.dspfvs).add("GRPDLY", spec.grpdly).add("BF1", spec.bf1);
    acqus.add("DTYPA", spec.doubles ? 2 : 0).add("NS", 16).add("O1", spec.o1).add("SW_h", spec.sw);
    acqus.add("TD", spec.td.value_or(static_cast<int>(spec.values.size())));
    BrukerFiles files{{"acqus", acqus.end()},
                      {"fid", encodeBrukerValues(spec.values, spec.bigEndian, spec.doubles)}};
    if (spec.procOffset)
        files["pdata/1/proc"] =
            Labels("Parameter file").add("OFFSET", *spec.procOffset).add("SI", 8192).end();
    if (spec.procsText) files["pdata/1/procs"] = *spec.procsText;
    return files;
}

BrukerFiles brukerProcessed(const BrukerProcessedSpec& spec) {
    Labels procs("Parameter file");
    procs.add("DTYPP", spec.doubles ? 2 : 0).add("SF", spec.sf).add("SI", spec.si).add("SW_p", spec.swp);
    procs.add("NC_proc", spec.ncProc).add("OFFSET", spec.offset);
    procs.add("TDeff", spec.tdeff.value_or(static_cast<int>(2 * spec.real.size())));
    return {{"procs", procs.end()},
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
