// The spin-system file through nlohmann-json: the library parses, this file checks each field
// and names what is wrong by its key path.
#include "simulation/spin_system_file.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <nlohmann/json.hpp>

#include "base/format.h"
#include "document/document.h"
#include "document/simulation_state.h"
#include "simulation/simulation_dialogs.h"
#include "simulation/spin_engine.h"
#include "simulation/synthesis.h"

namespace pelvaron::simulation {

namespace {

// Ordered, so that an unknown key is reported as the first one in the file.
using Json = nlohmann::ordered_json;

/// A refused field; thrown only inside this file and caught by parseSpinSystemJson.
struct FieldError {
    std::string message;
};

/// A key path, e.g. "subsystems[1].couplings[2]".
class Path {
public:
    Path() = default;
    [[nodiscard]] Path operator/(std::string_view key) const {
        return Path(text_.empty() ? std::string(key) : text_ + "." + std::string(key));
    }
    [[nodiscard]] Path operator[](std::size_t index) const {
        return Path(text_ + "[" + std::to_string(index) + "]");
    }
    [[nodiscard]] const std::string& text() const { return text_; }

private:
    explicit Path(std::string text) : text_(std::move(text)) {}
    std::string text_;
};

[[noreturn]] void refuse(const Path& at, const std::string& what) {
    throw FieldError{at.text().empty() ? what : at.text() + ": " + what};
}

/// What a value is, for "expected ..., not ...": numbers by their value, other values by kind.
std::string describe(const Json& v) {
    switch (v.type()) {
        case Json::value_t::null: return "null";
        case Json::value_t::boolean: return v.get<bool>() ? "true" : "false";
        case Json::value_t::string: return "a string";
        case Json::value_t::array: return "a list of " + std::to_string(v.size());
        case Json::value_t::object: return "an object";
        case Json::value_t::number_integer:
        case Json::value_t::number_unsigned:
        case Json::value_t::number_float: return cformat("%.17g", v.get<double>());
        default: return "a value";
    }
}

[[noreturn]] void expected(const Path& at, const char* what, const Json& v) {
    refuse(at, std::string("expected ") + what + ", not " + describe(v));
}

double number(const Json& v, const Path& at) {
    if (!v.is_number()) expected(at, "a number", v);
    return v.get<double>();
}

/// A whole number from `low` to `high`; `range` names them for the message.
int wholeNumber(const Json& v, const Path& at, int low, int high, const char* range) {
    const double x = number(v, at);
    if (x != std::trunc(x) || x < low || x > high) expected(at, range, v);
    return static_cast<int>(x);
}

const Json& list(const Json& v, const Path& at, const char* what) {
    if (!v.is_array()) expected(at, what, v);
    return v;
}

/// Refuses any key not in `known`, so that a misspelt key is not silently ignored.
const Json& object(const Json& v, const Path& at, const char* what,
                   std::initializer_list<std::string_view> known) {
    if (!v.is_object()) expected(at, what, v);
    for (const auto& [key, value] : v.items()) {
        if (std::find(known.begin(), known.end(), key) == known.end())
            refuse(at, "unknown key \"" + key + "\"");
    }
    return v;
}

const Json* member(const Json& object, std::string_view key) {
    const auto it = object.find(key);
    return it == object.end() ? nullptr : &*it;
}

SpinSystemFile::Subsystem readSubsystem(const Json& v, const Path& at) {
    object(v, at, "an object with \"shifts\" and \"couplings\"", {"shifts", "couplings"});
    const Json* shifts = member(v, "shifts");
    if (shifts == nullptr) refuse(at / "shifts", "missing; expected a list of one shift per nucleus");
    list(*shifts, at / "shifts", "a list of one shift per nucleus");
    // The count first: the coupling matrix below is n x n.
    if (shifts->empty() || shifts->size() > static_cast<std::size_t>(kMaxNuclei))
        refuse(at / "shifts", simulation::kNucleiCountText);
    SpinSystemFile::Subsystem sub;
    const std::size_t n = shifts->size();
    for (std::size_t k = 0; k < n; ++k) sub.shifts.push_back(number((*shifts)[k], (at / "shifts")[k]));
    sub.couplings.assign(n, std::vector<double>(n, 0.0));

    const Json* couplings = member(v, "couplings");
    if (couplings == nullptr) return sub;
    list(*couplings, at / "couplings", "a list of [i, j, J]");
    const std::string range = "a nucleus from 1 to " + std::to_string(n);
    for (std::size_t k = 0; k < couplings->size(); ++k) {
        const Json& c = (*couplings)[k];
        const Path here = (at / "couplings")[k];
        if (!c.is_array() || c.size() != 3) expected(here, "[i, j, J], three numbers", c);
        const int i = wholeNumber(c[0], here[0], 1, static_cast<int>(n), range.c_str());
        const int j = wholeNumber(c[1], here[1], 1, static_cast<int>(n), range.c_str());
        if (i == j) refuse(here, cformat("names nucleus %d twice; a coupling needs two nuclei", i));
        const double J = number(c[2], here[2]);
        // Stored both ways, as the coupling dialog does; the engine reads i < j.
        sub.couplings[i - 1][j - 1] = sub.couplings[j - 1][i - 1] = J;
    }
    return sub;
}

SpinSystemFile readSpinSystem(const Json& root) {
    const Path top;
    object(root, top, "one object",
           {"sf", "units", "from", "to", "points", "lineWidth", "threshold", "subsystems"});
    SpinSystemFile out;
    if (const Json* v = member(root, "sf")) {
        out.sf = number(*v, top / "sf");
        if (!(out.sf > 0.0)) expected(top / "sf", "a frequency greater than 0 MHz", *v);
    }
    if (const Json* v = member(root, "units")) {
        if (!v->is_string() || (*v != "Hz" && *v != "ppm")) expected(top / "units", "\"Hz\" or \"ppm\"", *v);
        out.ppm = *v == "ppm";
    }
    if (const Json* v = member(root, "from")) out.from = number(*v, top / "from");
    if (const Json* v = member(root, "to")) out.to = number(*v, top / "to");
    if (const Json* v = member(root, "lineWidth")) out.lineWidth = number(*v, top / "lineWidth");
    if (const Json* v = member(root, "threshold")) out.threshold = number(*v, top / "threshold");
    if (const Json* v = member(root, "points")) {
        // Any whole number fits the file; the document holds 2 to kCapacity values.
        const double p = number(*v, top / "points");
        if (p != std::trunc(p)) expected(top / "points", "a whole number", *v);
        if (p < 2 || p > kCapacity) refuse(top / "points", simulation::kPointsText);
        out.points = static_cast<int>(p);
    }

    const Json* subsystems = member(root, "subsystems");
    if (subsystems == nullptr) refuse(top / "subsystems", "missing; expected a list of 1 to 5 subsystems");
    list(*subsystems, top / "subsystems", "a list of 1 to 5 subsystems");
    if (subsystems->empty()) refuse(top / "subsystems", simulation::kNoSubsystemText);
    if (subsystems->size() > static_cast<std::size_t>(kMaxSubsystems))
        refuse(top / "subsystems", simulation::kTooManySubsystemsText);
    for (std::size_t s = 0; s < subsystems->size(); ++s)
        out.subsystems.push_back(readSubsystem((*subsystems)[s], (top / "subsystems")[s]));
    return out;
}

/// Refuses a key that appears twice in one object (the library would keep the last silently),
/// naming the object by its key path.
class DuplicateKeyCheck {
public:
    bool operator()(int, nlohmann::json::parse_event_t event, Json& parsed) {
        using Event = nlohmann::json::parse_event_t;
        switch (event) {
            case Event::object_start:
            case Event::array_start:
                elementStarts();
                frames_.push_back({event == Event::array_start, 0, {}, {}});
                break;
            case Event::object_end:
            case Event::array_end: frames_.pop_back(); break;
            case Event::value: elementStarts(); break;
            case Event::key: {
                Frame& f = frames_.back();
                f.key = parsed.get<std::string>();
                if (std::find(f.keys.begin(), f.keys.end(), f.key) != f.keys.end())
                    refuse(pathOfInnermost(), "the key \"" + f.key + "\" appears twice");
                f.keys.push_back(f.key);
                break;
            }
        }
        return true;
    }

private:
    struct Frame {
        bool isArray;
        std::size_t next;  ///< elements of a list seen so far
        std::string key;   ///< the member being read in an object
        std::vector<std::string> keys;
    };

    void elementStarts() {
        if (!frames_.empty() && frames_.back().isArray) ++frames_.back().next;
    }

    [[nodiscard]] Path pathOfInnermost() const {
        Path p;
        for (std::size_t k = 0; k + 1 < frames_.size(); ++k)
            p = frames_[k].isArray ? p[frames_[k].next - 1] : p / frames_[k].key;
        return p;
    }

    std::vector<Frame> frames_;
};

/// "line L, column C: ..." with the library's words. The place is counted here from the byte the
/// library stopped at (1-based; one past the end for a text that ends too soon, 0 for an empty
/// one), so that a text ending in a line break points at the start of the next line.
std::string syntaxError(const nlohmann::json::parse_error& e, std::string_view text) {
    const std::string what = e.what();
    const std::size_t colon = what.find(": ", what.find(" column "));
    const std::string words = colon == std::string::npos ? what : what.substr(colon + 2);
    const std::size_t at = std::clamp<std::size_t>(e.byte, 1, text.size() + 1) - 1;
    const std::size_t lineStart = at == 0 ? 0 : text.rfind('\n', at - 1) + 1;  // npos + 1 is 0
    const auto line = 1 + std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(at), '\n');
    return "line " + std::to_string(line) + ", column " + std::to_string(at - lineStart + 1) + ": " + words;
}

}  // namespace

bool parseSpinSystemJson(std::string_view text, SpinSystemFile& out, std::string& error) {
    try {
        const Json root = Json::parse(text.begin(), text.end(), DuplicateKeyCheck());
        out = readSpinSystem(root);
        return true;
    } catch (const FieldError& e) {
        error = e.message;
    } catch (const nlohmann::json::parse_error& e) {
        error = syntaxError(e, text);
    } catch (const nlohmann::json::exception& e) {
        // A number too large for a double, for example.
        const std::string what = e.what();
        const std::size_t end = what.find("] ");
        error = end == std::string::npos ? what : what.substr(end + 2);
    }
    return false;
}

std::string writeSpinSystemJson(const SpinSystemFile& system) {
    const Json fields = {{"sf", system.sf},
                         {"units", system.ppm ? "ppm" : "Hz"},
                         {"from", system.from},
                         {"to", system.to},
                         {"points", system.points},
                         {"lineWidth", system.lineWidth},
                         {"threshold", system.threshold}};
    std::string text = "{\n";
    for (const auto& [key, value] : fields.items())
        text += "  " + Json(key).dump() + ": " + value.dump() + ",\n";
    text += "  \"subsystems\": [\n";
    for (std::size_t s = 0; s < system.subsystems.size(); ++s) {
        const auto& sub = system.subsystems[s];
        Json couplings = Json::array();
        for (std::size_t i = 0; i < sub.couplings.size(); ++i)
            for (std::size_t j = i + 1; j < sub.couplings[i].size(); ++j)
                if (sub.couplings[i][j] != 0.0) couplings.push_back({i + 1, j + 1, sub.couplings[i][j]});
        const Json line = {{"shifts", sub.shifts}, {"couplings", couplings}};
        text += "    " + line.dump() + (s + 1 < system.subsystems.size() ? ",\n" : "\n");
    }
    text += "  ]\n}\n";
    return text;
}

bool simulateSpinSystem(Document& doc, Messages& said, const SpinSystemFile& file) {
    // Any message of the engine means the spectrum is not to be trusted.
    const std::size_t before = said.size();
    SimulationState& sim = doc.sim;
    // As New: nothing of an earlier simulation stays.
    releaseSimulation(sim);
    const double hz = file.hzPerUnit();
    sim.simFromHz = file.from * hz;
    sim.simToHz = file.to * hz;
    sim.simSF = file.sf;
    sim.simPoints = file.points;
    sim.simLineWidth = file.lineWidth;
    sim.simThreshold = file.threshold;
    sim.simUnitsPpm = file.ppm ? 1 : 0;
    if (!allocateSpinSubsystems(doc, said)) return false;
    for (std::size_t s = 0; s < file.subsystems.size(); ++s) {
        sim.lastSubsystem = static_cast<int>(s);
        sim.nNucleiInput = static_cast<int>(file.subsystems[s].shifts.size());
        sim.editShifts = file.subsystems[s].shifts;
        for (double& v : sim.editShifts) v *= hz;
        sim.editCouplings = file.subsystems[s].couplings;
        if (!storeSubsystemParams(doc, said)) return false;
    }
    // OK of the last page.
    if (!completeSimulation(doc, said)) return false;
    return said.size() == before;
}

SpinSystemFile spinSystemOf(const Document& doc) {
    const SimulationState& sim = doc.sim;
    SpinSystemFile file;
    file.sf = sim.simSF;
    file.ppm = sim.simUnitsPpm != 0;
    const double hz = file.hzPerUnit();
    file.from = sim.simFromHz / hz;
    file.to = sim.simToHz / hz;
    file.points = sim.simPoints;
    file.lineWidth = sim.simLineWidth;
    file.threshold = sim.simThreshold;
    const int count = std::min<int>(sim.lastSubsystem + 1, static_cast<int>(sim.spinSubsystems.size()));
    for (int s = 0; s < count; ++s) {
        const SpinSubsystem& sub = sim.spinSubsystems[static_cast<std::size_t>(s)];
        SpinSystemFile::Subsystem out{sub.shifts(), sub.couplings()};
        for (double& v : out.shifts) v /= hz;
        file.subsystems.push_back(std::move(out));
    }
    return file;
}

}  // namespace pelvaron::simulation
