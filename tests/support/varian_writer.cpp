// Varian VXR/Unity and Gemini/VHELPER writers for tests, fuzz seeds and benchmarks.
#include "varian_writer.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <sstream>

#include "temp_dir.h"

namespace pelvaron::testing {

namespace {

void putBE(std::string& out, std::uint32_t v, int width) {
    for (int i = width - 1; i >= 0; --i) out.push_back(static_cast<char>(v >> (8 * i)));
}

void putLE(std::string& out, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + static_cast<std::size_t>(i)] = static_cast<char>(v >> (8 * i));
}

/// A real parameter: attribute line, one value, no enumeration.
std::string realEntry(const std::string& name, double value) {
    std::ostringstream out;
    out.precision(17);
    out << name << " 1 1 1e+09 -1e+09 0 2 1 11 1 64\n1 " << value << "\n0\n";
    return out.str();
}

/// A text parameter with its one value and the values it may take.
std::string stringEntry(const std::string& name, const std::string& value, const std::string& allowed) {
    return name + " 4 2 1 0 0 2 1 9 1 64\n1 \"" + value + "\"\n" + allowed + "\n";
}

}  // namespace

std::string encodeVarianFid(const std::vector<double>& values, bool thirtyTwoBit) {
    // Headers of a recognisable pattern: the reader must pass over them, not decode them.
    std::string out(32 + 28, '\xA5');
    for (double v : values) {
        const auto n = static_cast<std::int32_t>(std::llround(v));
        putBE(out, static_cast<std::uint32_t>(n), thirtyTwoBit ? 4 : 2);
    }
    return out;
}

VarianFiles varianFid(const VarianFidSpec& spec) {
    const bool wide = spec.dp == "y";
    std::vector<std::pair<std::string, std::string>> entries;
    const int np = spec.np.value_or(static_cast<int>(spec.values.size()));
    entries.emplace_back("np", realEntry("np", np));
    entries.emplace_back("nt", realEntry("nt", 16));
    entries.emplace_back("sfrq", realEntry("sfrq", spec.sfrq));
    entries.emplace_back("sfrq1", realEntry("sfrq1", spec.sfrq / 4));
    entries.emplace_back("sw", realEntry("sw", spec.sw));
    entries.emplace_back("sw1", realEntry("sw1", spec.sw * 3));
    entries.emplace_back("swet", realEntry("swet", 0));
    entries.emplace_back("seqfil", stringEntry("seqfil", "s2pul", "0"));
    entries.emplace_back("samplename", stringEntry("samplename", "sw np sfrq 77", "0"));
    if (spec.dp) entries.emplace_back("dp", stringEntry("dp", *spec.dp, "2 \"n\" \"y\""));
    if (spec.rfl) entries.emplace_back("rfl", realEntry("rfl", *spec.rfl));
    if (spec.rfp) entries.emplace_back("rfp", realEntry("rfp", *spec.rfp));
    std::sort(entries.begin(), entries.end());
    std::string procpar;
    for (const auto& e : entries) procpar += e.second;

    std::string fid = encodeVarianFid(spec.values, wide);
    for (int b = 0; b < spec.extraBlocks; ++b) {
        std::vector<double> other(spec.values.size(), 1000.0 + b);
        fid += encodeVarianFid(other, wide).substr(32);
    }
    return {{"procpar", procpar}, {"fid", fid}};
}

std::string writeVarianFid(const std::string& dir, const VarianFidSpec& spec) {
    for (const auto& [name, bytes] : varianFid(spec)) writeFile(dir + "/" + name, bytes);
    return dir + "/fid";
}

VarianFiles geminiFid(const GeminiFidSpec& spec) {
    std::string acqpar(std::max<std::size_t>(spec.acqparSize, 1024), '\0');
    auto entry = [&](std::size_t r, const char* name, double value) {
        acqpar.replace(r, 6, std::string(name).append(6, ' ').substr(0, 6));
        putLE(acqpar, r + 10, std::bit_cast<std::uint32_t>(static_cast<float>(value)));
    };
    entry(0, "FILE", 1);
    entry(48, "SW", spec.sw);
    entry(64, "AT", 0.5);
    entry(80, "NP", spec.points.value_or(static_cast<double>(spec.values.size() / 2)));
    entry(784, spec.sfrqNamed ? "SFRQ" : "TOF", spec.sfrqNamed ? spec.sf : 1234.5);
    entry(800, spec.sfrqNamed ? "DFRQ" : "SFRQ", spec.sfrqNamed ? 75.0 : spec.sf);
    acqpar.resize(spec.acqparSize);

    std::string data;
    for (double v : spec.values)
        putBE(data, static_cast<std::uint32_t>(static_cast<std::int32_t>(std::llround(v))), 4);
    return {{"ACQPAR", acqpar}, {"data", data}};
}

std::string writeGeminiFid(const std::string& dir, const GeminiFidSpec& spec) {
    const VarianFiles files = geminiFid(spec);
    writeFile(dir + "/ACQPAR", files.at("ACQPAR"));
    writeFile(dir + "/gemini.fid", files.at("data"));
    return dir + "/gemini.fid";
}

}  // namespace pelvaron::testing
