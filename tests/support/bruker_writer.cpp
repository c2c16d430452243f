// Bruker experiment writer for tests and the bundled example.
#include "bruker_writer.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <utility>

namespace pelvaron::testing {

namespace {

void put(const std::string& path, const std::string& content) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
}

void appendBytes(std::string& out, std::uint64_t v, int width, bool bigEndian) {
    for (int i = 0; i < width; ++i) {
        const int shift = bigEndian ? 8 * (width - 1 - i) : 8 * i;
        out.push_back(static_cast<char>((v >> shift) & 0xff));
    }
}

}  // namespace

std::string encodeBrukerValues(const std::vector<double>& values, bool bigEndian, bool doubles) {
    std::string out;
    out.reserve(values.size() * (doubles ? 8 : 4));
    for (double v : values) {
        if (doubles) {
            std::uint64_t bits;
            std::memcpy(&bits, &v, 8);
            appendBytes(out, bits, 8, bigEndian);
        } else {
            const auto i = static_cast<std::int32_t>(std::llround(v));
            appendBytes(out, static_cast<std::uint32_t>(i), 4, bigEndian);
        }
    }
    return out;
}

std::string writeBrukerFid(const std::string& dir, const BrukerFidSpec& spec) {
    std::ostringstream acqus;
    acqus.precision(17);
    acqus << "##TITLE= Parameter file, " << (spec.xwinTitle ? "XWIN-NMR 3.5" : "UXNMR") << " "
          << spec.title << "\n";
    acqus << "##JCAMPDX= 5.0\n##DATATYPE= Parameter Values\n##ORIGIN= Pelvaron tests\n";
    acqus << "##$AQ_mod= " << spec.aqMode << "\n";
    if (spec.writeByteOrderLabel) acqus << "##$BYTORDA= " << (spec.bigEndian ? 1 : 0) << "\n";
    if (spec.decim) acqus << "##$DECIM= " << *spec.decim << "\n";
    if (spec.dspfvs) acqus << "##$DSPFVS= " << *spec.dspfvs << "\n";
    if (spec.grpdly) acqus << "##$GRPDLY= " << *spec.grpdly << "\n";
    acqus << "##$BF1= " << spec.bf1 << "\n";
    acqus << "##$DTYPA= " << (spec.doubles ? 2 : 0) << "\n";
    acqus << "##$NS= 16\n";
    if (spec.o1) acqus << "##$O1= " << *spec.o1 << "\n";
    acqus << "##$SW_h= " << spec.sw << "\n";
    acqus << "##$TD= " << spec.td.value_or(static_cast<int>(spec.values.size())) << "\n";
    acqus << "##END=\n";
    put(dir + "/" + spec.acqusName, acqus.str());
    const std::string fid = dir + "/" + spec.fidName;
    put(fid, encodeBrukerValues(spec.values, spec.bigEndian, spec.doubles));
    if (spec.procText) {
        put(dir + (spec.procInPdata ? "/pdata/1/proc" : "/proc"), *spec.procText);
    } else if (spec.procOffset) {
        std::ostringstream proc;
        proc.precision(17);
        proc << "##TITLE= Parameter file\n##$OFFSET= " << *spec.procOffset << "\n##$SI= 8192\n##END=\n";
        put(dir + (spec.procInPdata ? "/pdata/1/proc" : "/proc"), proc.str());
    }
    if (spec.procsText) put(dir + "/pdata/1/procs", *spec.procsText);
    return fid;
}

std::string parameterFile(const std::vector<std::pair<std::string, std::string>>& values) {
    std::string text = "##TITLE= Parameter file, Pelvaron tests\n##JCAMPDX= 5.0\n";
    for (const auto& [name, value] : values) text += "##$" + name + "= " + value + "\n";
    return text + "##END=\n";
}

std::string writeBrukerProcessed(const std::string& dir, const BrukerProcessedSpec& spec) {
    std::ostringstream procs;
    procs.precision(17);
    procs << "##TITLE= Parameter file\n";
    if (spec.version) procs << "##ORIGIN= Bruker\n##OWNER= nmr\n$$ VERSION " << *spec.version << "\n";
    if (spec.bytordp) procs << "##$BYTORDP= " << *spec.bytordp << "\n";
    procs << "##$DTYPP= " << (spec.doubles ? 2 : 0) << "\n";
    procs << "##$SF= " << spec.sf << "\n";
    if (spec.si) procs << "##$SI= " << *spec.si << "\n";
    procs << "##$SW_p= " << spec.swp << "\n";
    if (spec.ncProc) procs << "##$NC_proc= " << *spec.ncProc << "\n";
    if (spec.offset) procs << "##$OFFSET= " << *spec.offset << "\n";
    procs << "##$TDeff= " << spec.tdeff.value_or(static_cast<int>(2 * spec.real.size())) << "\n";
    procs << "##END=\n";
    put(dir + "/procs", procs.str());
    put(dir + "/1r", encodeBrukerValues(spec.real, spec.bigEndian, spec.doubles));
    put(dir + "/1i", encodeBrukerValues(spec.imag, spec.bigEndian, spec.doubles));
    return dir + "/1r";
}

}  // namespace pelvaron::testing
