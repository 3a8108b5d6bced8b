#include "report/run_record_json.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <new>
#include <nlohmann/json.hpp>
#include <optional>
#include <stdexcept>

#include "logmath/log_domain.h"
#include "report/number_text.h"
#include "report/simulation_json.h"

namespace brevandor {

namespace {

using Json = nlohmann::ordered_json;

// ---- writing ----

std::string scalarText(const Json& value) {
  return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

// A scalar, or an array or object of scalars, on one line: [1, 2], {"d": 7, "a": "2"}.
std::string leafText(const Json& value) {
  if (!value.is_structured()) {
    return scalarText(value);
  }
  std::string text(1, value.is_object() ? '{' : '[');
  for (auto member = value.begin(); member != value.end(); ++member) {
    text += member == value.begin() ? "" : ", ";
    if (value.is_object()) {
      text += scalarText(Json(member.key())) + ": ";
    }
    text += scalarText(*member);
  }
  return text + (value.is_object() ? '}' : ']');
}

// A scalar, or an array or object of scalars: written on one line.
bool isLeaf(const Json& value) {
  if (!value.is_structured()) {
    return true;
  }
  for (const Json& element : value) {
    if (element.is_structured()) {
      return false;
    }
  }
  return true;
}

// Two blanks per level; what isLeaf accepts stays on one line, so the spectrum reads one
// weight a line.
void writePretty(const Json& value, int depth, std::string& out) {
  if (isLeaf(value)) {
    out += leafText(value);
    return;
  }
  const bool object = value.is_object();
  const std::string pad(static_cast<std::size_t>(2 * (depth + 1)), ' ');
  out += object ? '{' : '[';
  bool first = true;
  for (auto member = value.begin(); member != value.end(); ++member) {
    out += first ? "\n" : ",\n";
    first = false;
    out += pad;
    if (object) {
      out += scalarText(Json(member.key())) + ": ";
    }
    writePretty(*member, depth + 1, out);
  }
  out += '\n' + std::string(static_cast<std::size_t>(2 * depth), ' ') + (object ? '}' : ']');
}

Json log10Member(double log10Value) {
  return isLogZero(log10Value) ? Json(nullptr) : Json(log10Value);
}

// A bound as a number when a double holds it exactly (always, up to about 1e308); else as
// text that keeps its extended precision.
Json boundValue(long double value) {
  const auto asDouble = static_cast<double>(value);
  if (std::isfinite(asDouble) && static_cast<long double>(asDouble) == value) {
    return asDouble;
  }
  return exactText(value);
}

// The values of a bound or estimate over the grid, each as boundValue, or, below the
// extended range, as decimal text from its logarithm.
Json boundValues(const std::vector<long double>& values, const std::vector<double>& log10Beyond) {
  Json list = Json::array();
  for (std::size_t point = 0; point < values.size(); ++point) {
    const std::optional<double> beyond = log10BeyondRange(log10Beyond, point);
    list.push_back(beyond ? Json(decimalFromLog10(*beyond, kCountTextDigits))
                          : boundValue(values[point]));
  }
  return list;
}

Json inputsJson(const RecordInputs& inputs) {
  Json json{{"numerator", inputs.numerator}, {"denominator", inputs.denominator},
            {"type", inputs.type},           {"frame_length", inputs.frameLength},
            {"bounds", inputs.bounds},       {"results_file", inputs.resultsFile}};
  for (const auto& [name, value] : inputs.further) {
    json[name] = value;
  }
  return json;
}

Json spectrumJson(const RecordSpectrum& spectrum) {
  Json lines = Json::array();
  for (const SpectrumLine& line : spectrum.lines) {
    lines.push_back(Json{{"d", line.weight},
                         {"log10_a", log10Member(line.log10Codewords)},
                         {"log10_b", log10Member(line.log10Weighted)},
                         {"a", decimalFromLog10(line.log10Codewords, kCountTextDigits)},
                         {"b", decimalFromLog10(line.log10Weighted, kCountTextDigits)}});
  }
  return Json{{"max_weight", spectrum.maxWeight},
              {"codeword_scale", spectrum.codewordScale},
              {"weighted_scale", spectrum.weightedScale},
              {"lines", std::move(lines)}};
}

Json boundsJson(const RecordBounds& bounds) {
  Json columns = Json::array();
  for (const BoundColumn& column : bounds.columns) {
    Json entry{{"name", column.name},
               {"title", column.title},
               {"values", boundValues(column.values, column.log10Beyond)}};
    if (column.estimate) {
      entry["estimate"] = true;  // written only where it holds, so bound records stay as they were
    }
    columns.push_back(std::move(entry));
  }
  return Json{{"ebn0_db", bounds.ebn0Db}, {"columns", std::move(columns)}};
}

Json givenInterleaverJson(const RecordGivenInterleaver& given) {
  Json rows = Json::array();
  for (const GivenSpectrumLine& line : given.lines) {
    rows.push_back(Json{{"d", line.weight}, {"A", line.codewords}, {"B", line.bitMultiplicity}});
  }
  return Json{{"interleaver", given.interleaver},
              {"max_weight", given.maxWeight},
              {"d_min", given.minimumDistance ? Json(*given.minimumDistance) : Json(nullptr)},
              {"candidates", given.candidates},
              {"rows", std::move(rows)},
              {"ub_q_estimate", boundValues(given.bitErrorEstimates, given.log10EstimatesBeyond)}};
}

// ---- reading ----

// Why a record is refused; caught at the top of the reader.
class Refusal : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The longest list a run writes is the spectrum's, one line per weight up to a million (the
// largest weight limit of the low-weight mode; a full run's frames are far shorter).
constexpr std::size_t kLongestList = 2'000'000;
// A JSON value takes tens of bytes in memory: a text of more values than that record's six
// million (an object and five numbers a line) is refused before it is parsed into gigabytes.
constexpr std::size_t kMostValues = 10'000'000;
// The signal-to-noise ratios of a run lie within a few tens of dB.
constexpr double kLargestDecibels = 1000.0;

// One JSON object being read, with its path for the messages ("spectrum.lines[3]").
class Fields {
 public:
  Fields(const Json& object, std::string path) : object_(object), path_(std::move(path)) {
    if (!object_.is_object()) {
      throw Refusal(where() + " should be an object");
    }
  }

  const Json& member(const char* name) const {
    const auto found = object_.find(name);
    if (found == object_.end()) {
      throw Refusal(where(name) + " is missing");
    }
    return *found;
  }
  bool has(const char* name) const { return object_.contains(name); }

  std::int32_t integer(const char* name) const { return integerOf(member(name), where(name)); }
  double number(const char* name) const { return numberOf(member(name), where(name)); }
  std::string text(const char* name) const { return textOf(member(name), where(name)); }
  const Json& array(const char* name) const {
    const Json& value = member(name);
    if (!value.is_array()) {
      throw Refusal(where(name) + " should be a list");
    }
    if (value.size() > kLongestList) {
      throw Refusal(where(name) + " holds " + std::to_string(value.size()) +
                    " entries, far more than the record of any run");
    }
    return value;
  }
  Fields object(const char* name) const { return Fields(member(name), path(name)); }

  // "spectrum.lines[3].d" for the member `name`, or this object's own path.
  std::string path(const char* name = nullptr) const {
    if (name == nullptr) {
      return path_;
    }
    return path_.empty() ? name : path_ + "." + name;
  }
  std::string where(const char* name = nullptr) const { return "field \"" + path(name) + "\""; }

  static std::int32_t integerOf(const Json& value, const std::string& where) {
    if (!value.is_number_integer()) {
      throw Refusal(where + " should be an integer");
    }
    if (value.is_number_unsigned()
            ? value.get<std::uint64_t>() > INT32_MAX
            : value.get<std::int64_t>() < INT32_MIN || value.get<std::int64_t>() > INT32_MAX) {
      throw Refusal(where + " is out of range");
    }
    return static_cast<std::int32_t>(value.get<std::int64_t>());
  }
  // A size or a count, which is never negative.
  static std::int32_t countOf(const Json& value, const std::string& where) {
    const std::int32_t count = integerOf(value, where);
    if (count < 0) {
      throw Refusal(where + " is negative");
    }
    return count;
  }
  std::int32_t count(const char* name) const { return countOf(member(name), where(name)); }
  static std::string textOf(const Json& value, const std::string& where) {
    if (!value.is_string()) {
      throw Refusal(where + " should be text");
    }
    return value.get<std::string>();
  }
  static double numberOf(const Json& value, const std::string& where) {
    if (!value.is_number() || !std::isfinite(value.get<double>())) {
      throw Refusal(where + " should be a finite number");
    }
    return value.get<double>();
  }

 private:
  const Json& object_;
  std::string path_;
};

std::string indexed(const std::string& path, std::size_t index) {
  return path + "[" + std::to_string(index) + "]";
}

// The entries of a list, each read by `read`(entry, "field \"PATH[i]\"").
template <class Read>
auto listOf(const Json& list, const std::string& path, Read read) {
  std::vector<decltype(read(list, path))> values;
  for (std::size_t i = 0; i < list.size(); ++i) {
    values.push_back(read(list[i], "field \"" + indexed(path, i) + "\""));
  }
  return values;
}

RecordInputs readInputs(const Fields& fields) {
  RecordInputs inputs;
  inputs.numerator = fields.text("numerator");
  inputs.denominator = fields.text("denominator");
  inputs.type = fields.text("type");
  inputs.frameLength = fields.count("frame_length");
  inputs.bounds = listOf(fields.array("bounds"), "inputs.bounds", Fields::textOf);
  inputs.resultsFile = fields.text("results_file");
  return inputs;
}

// Inputs that a later program records beyond the ones above, kept by name as text.
void readFurtherInputs(const Json& json, RecordInputs& inputs) {
  static constexpr const char* kKnown[] = {"numerator",    "denominator", "type",
                                           "frame_length", "bounds",      "results_file"};
  for (auto member = json.begin(); member != json.end(); ++member) {
    bool known = false;
    for (const char* name : kKnown) {
      known = known || member.key() == name;
    }
    if (!known) {
      inputs.further.emplace_back(
          member.key(), member->is_string() ? member->get<std::string>() : leafText(*member));
    }
  }
}

RecordCode readCode(const Fields& fields) {
  RecordCode code;
  code.kind = fields.text("kind");
  code.n = fields.count("n");
  code.k = fields.count("k");
  code.constraintLength = fields.count("constraint_length");
  code.states = fields.count("states");
  return code;
}

RecordTurbo readTurbo(const Fields& fields) {
  RecordTurbo turbo;
  turbo.type = fields.text("type");
  turbo.constituents = fields.count("constituents");
  turbo.frameLengths =
      listOf(fields.array("frame_lengths"), "turbo.frame_lengths", Fields::countOf);
  turbo.outputFrameLength = fields.count("output_frame_length");
  turbo.rate = fields.number("rate");
  if (turbo.rate < 0.0 || turbo.rate > 1.0) {
    throw Refusal(fields.where("rate") + " should lie within 0 … 1");
  }
  return turbo;
}

// Counts within 10^(±10^7): far beyond 2^N, and far below the least average count
// (about 1 / C(N, N / 2)³), for any frame the program computes.
constexpr double kLargestLog10Count = 1e7;

// A log10 count; null and LogZero stand for zero, a value below LogZero for a count below
// 10^−308, and one beyond every count a run reaches for zero.
double readLog10(const Fields& line, const char* name) {
  const Json& value = line.member(name);
  if (value.is_null()) {
    return LogZero;
  }
  const double log10Value = Fields::numberOf(value, line.where(name));
  if (log10Value > kLargestLog10Count) {
    throw Refusal(line.where(name) + " is out of range");
  }
  return log10Value < -kLargestLog10Count ? LogZero : log10Value;
}

RecordSpectrum readSpectrum(const Fields& fields) {
  RecordSpectrum spectrum;
  spectrum.maxWeight = fields.count("max_weight");
  spectrum.codewordScale = fields.number("codeword_scale");
  spectrum.weightedScale = fields.number("weighted_scale");
  const Json& lines = fields.array("lines");
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const Fields line(lines[i], indexed("spectrum.lines", i));
    SpectrumLine entry;
    entry.weight = line.integer("d");
    const std::int32_t previous = spectrum.lines.empty() ? -1 : spectrum.lines.back().weight;
    if (entry.weight <= previous || entry.weight > spectrum.maxWeight) {
      throw Refusal(line.where("d") + " should rise from line to line and stay within 0 … " +
                    std::to_string(spectrum.maxWeight));
    }
    entry.log10Codewords = readLog10(line, "log10_a");
    entry.log10Weighted = readLog10(line, "log10_b");
    spectrum.lines.push_back(entry);
  }
  return spectrum;
}

// log10 of a bound written as text below the extended range, which strtold reads as 0 or a
// subnormal ("7.556966000e-9334"): from its mantissa and exponent.
std::optional<double> log10OfTextBeyondRange(const std::string& text, long double value) {
  if (std::fpclassify(value) == FP_NORMAL) {
    return std::nullopt;
  }
  const std::size_t marker = text.find_first_of("eE");
  if (marker == std::string::npos) {
    return std::nullopt;
  }
  const long double mantissa = std::strtold(text.substr(0, marker).c_str(), nullptr);
  const long exponent = std::strtol(text.c_str() + marker + 1, nullptr, 10);
  if (!(mantissa > 0.0L) || !std::isfinite(mantissa)) {
    return std::nullopt;
  }
  return static_cast<double>(std::log10(mantissa) + static_cast<long double>(exponent));
}

// The log10 of each value of a list that its text holds below the extended range (−∞ at the
// others); empty where none does.
std::vector<double> log10sBeyondRange(const Json& list, const std::vector<long double>& values) {
  std::vector<double> beyond;
  for (std::size_t point = 0; point < list.size() && point < values.size(); ++point) {
    const std::optional<double> log10Value =
        list[point].is_string()
            ? log10OfTextBeyondRange(list[point].get<std::string>(), values[point])
            : std::nullopt;
    if (log10Value) {
      beyond.resize(list.size(), -std::numeric_limits<double>::infinity());
      beyond[point] = *log10Value;
    }
  }
  return beyond;
}

// A bound is a probability or a sum of them: never negative.
long double readBoundValue(const Json& value, const std::string& where) {
  long double bound = 0.0L;
  if (value.is_string()) {
    const std::string text = value.get<std::string>();
    char* end = nullptr;
    bound = std::strtold(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !std::isfinite(bound)) {
      throw Refusal(where + " should be a number");
    }
  } else {
    bound = Fields::numberOf(value, where);
  }
  if (bound < 0.0L) {
    throw Refusal(where + " is negative; a bound is never below 0");
  }
  return bound;
}

double readDecibels(const Json& value, const std::string& where) {
  const double decibels = Fields::numberOf(value, where);
  if (std::abs(decibels) > kLargestDecibels) {
    throw Refusal(where + " lies beyond ±" + std::to_string(static_cast<int>(kLargestDecibels)) +
                  " dB");
  }
  return decibels;
}

RecordBounds readBounds(const Fields& fields) {
  RecordBounds bounds;
  bounds.ebn0Db = listOf(fields.array("ebn0_db"), "bounds.ebn0_db", readDecibels);
  const Json& columns = fields.array("columns");
  for (std::size_t c = 0; c < columns.size(); ++c) {
    const std::string path = indexed("bounds.columns", c);
    const Fields column(columns[c], path);
    BoundColumn entry;
    entry.name = column.text("name");
    entry.title = column.text("title");
    const Json& values = column.array("values");
    if (values.size() != bounds.ebn0Db.size()) {
      throw Refusal(column.where("values") + " holds " + std::to_string(values.size()) +
                    " values for " + std::to_string(bounds.ebn0Db.size()) + " grid points");
    }
    entry.values = listOf(values, path + ".values", readBoundValue);
    entry.log10Beyond = log10sBeyondRange(values, entry.values);
    if (column.has("estimate")) {
      const Json& estimate = column.member("estimate");
      if (!estimate.is_boolean()) {
        throw Refusal(column.where("estimate") + " should be true or false");
      }
      entry.estimate = estimate.get<bool>();
    }
    bounds.columns.push_back(std::move(entry));
  }
  return bounds;
}

std::uint64_t countOf(const Json& value, const std::string& where) {
  if (!value.is_number_unsigned()) {
    throw Refusal(where + " should be a whole number of 0 or more");
  }
  return value.get<std::uint64_t>();
}

RecordGivenInterleaver readGivenInterleaver(const Fields& fields) {
  RecordGivenInterleaver given;
  given.interleaver = fields.text("interleaver");
  given.maxWeight = fields.integer("max_weight");
  if (!fields.member("d_min").is_null()) {
    given.minimumDistance = fields.integer("d_min");
  }
  given.candidates = countOf(fields.member("candidates"), fields.where("candidates"));
  given.lines = listOf(
      fields.array("rows"), fields.path("rows"), [](const Json& row, const std::string& where) {
        const Fields line(row, where);
        return GivenSpectrumLine{line.integer("d"), countOf(line.member("A"), line.where("A")),
                                 line.number("B")};
      });
  const Json& estimates = fields.array("ub_q_estimate");
  given.bitErrorEstimates = listOf(estimates, fields.path("ub_q_estimate"), readBoundValue);
  given.log10EstimatesBeyond = log10sBeyondRange(estimates, given.bitErrorEstimates);
  return given;
}

// An upper bound of the number of values in the JSON text: a count of the separators and
// openings outside strings, made before the text is parsed.
std::size_t valuesAtMost(std::string_view text) {
  std::size_t values = 1;
  bool inString = false;
  bool escaped = false;
  for (const char c : text) {
    if (inString) {
      inString = escaped || c != '"';
      escaped = !escaped && c == '\\';
    } else if (c == '"') {
      inString = true;
    } else if (c == ',' || c == '[' || c == '{') {
      ++values;
    }
  }
  return values;
}

RunRecord readRecord(const Json& root) {
  const bool ours = root.is_object() && root.contains("format") && root["format"].is_string() &&
                    root["format"].get<std::string>() == kRecordFormat;
  if (!ours) {
    throw Refusal("this is not a Brevandor results record (it has no \"format\": \"" +
                  std::string(kRecordFormat) + "\")");
  }
  const Fields fields(root, "");
  const std::int32_t version = fields.integer("schema_version");
  if (version > kRecordSchemaVersion) {
    throw Refusal("it was written by a newer Brevandor with schema version " +
                  std::to_string(version) + "; this program reads versions up to " +
                  std::to_string(kRecordSchemaVersion));
  }
  if (version < 1) {
    throw Refusal(fields.where("schema_version") + " should be 1 or more");
  }
  RunRecord record;
  record.programVersion = fields.object("program").text("version");
  record.inputs = readInputs(fields.object("inputs"));
  readFurtherInputs(fields.member("inputs"), record.inputs);
  record.code = readCode(fields.object("code"));
  record.turbo = readTurbo(fields.object("turbo"));
  record.spectrum = readSpectrum(fields.object("spectrum"));
  const Fields sumCheck = fields.object("sum_check");
  record.spectrum.log10Sum = readLog10(sumCheck, "log10_sum");
  record.spectrum.log10InputWords = readLog10(sumCheck, "log10_input_words");
  record.bounds = readBounds(fields.object("bounds"));
  if (fields.has("given_interleaver")) {
    record.givenInterleaver = readGivenInterleaver(fields.object("given_interleaver"));
  }
  if (fields.has("simulation")) {
    try {
      record.simulation = readSimulationJson(fields.member("simulation"));
    } catch (const std::invalid_argument& wrong) {
      throw Refusal(wrong.what());
    }
  }
  return record;
}

}  // namespace

std::string runRecordJson(const RunRecord& record) {
  const RecordSpectrum& spectrum = record.spectrum;
  const RecordTurbo& turbo = record.turbo;
  Json json{{"format", kRecordFormat},
            {"schema_version", kRecordSchemaVersion},
            {"program", Json{{"name", "brevandor"}, {"version", record.programVersion}}},
            {"inputs", inputsJson(record.inputs)},
            {"code", Json{{"kind", record.code.kind},
                          {"n", record.code.n},
                          {"k", record.code.k},
                          {"constraint_length", record.code.constraintLength},
                          {"states", record.code.states}}},
            {"turbo", Json{{"type", turbo.type},
                           {"constituents", turbo.constituents},
                           {"frame_lengths", turbo.frameLengths},
                           {"output_frame_length", turbo.outputFrameLength},
                           {"rate", turbo.rate}}},
            {"spectrum", spectrumJson(spectrum)},
            {"sum_check",
             Json{{"log10_sum", spectrum.log10Sum},
                  {"sum", decimalFromLog10(spectrum.log10Sum, kCountTextDigits)},
                  {"log10_input_words", spectrum.log10InputWords},
                  {"input_words", decimalFromLog10(spectrum.log10InputWords, kCountTextDigits)}}},
            {"bounds", boundsJson(record.bounds)}};
  if (record.givenInterleaver) {
    json["given_interleaver"] = givenInterleaverJson(*record.givenInterleaver);
  }
  std::string text;
  if (record.simulation) {
    Json simulated = json;
    simulated["simulation"] = simulationJson(*record.simulation);
    writePretty(simulated, 0, text);
  } else {
    writePretty(json, 0, text);
  }
  text += '\n';
  return text;
}

RecordReading readRunRecordJson(std::string_view text) {
  RecordReading reading;
  if (text.find_first_not_of(" \t\r\n") == std::string_view::npos) {
    reading.error = "the file is empty";
    return reading;
  }
  Json root;
  try {
    if (valuesAtMost(text) > kMostValues) {
      reading.error = "it holds more than " + std::to_string(kMostValues) +
                      " values, far more than the record of any run";
      reading.refused = true;
      return reading;
    }
    root = Json::parse(text.begin(), text.end());
  } catch (const std::bad_alloc&) {
    reading.error = "there is not enough memory to read it";
    return reading;
  } catch (const Json::parse_error& error) {
    reading.refused = true;
    reading.error =
        error.byte >= text.size()
            ? "it ends early, at byte " + std::to_string(text.size()) + ": the file looks truncated"
            : "it is not JSON (syntax error at byte " + std::to_string(error.byte) + ")";
    return reading;
  } catch (const Json::exception& error) {
    // A number beyond a double's range, for one.
    reading.error = std::string("it is not JSON that this program can read: ") + error.what();
    reading.refused = true;
    return reading;
  }
  try {
    reading.record = readRecord(root);
  } catch (const Refusal& refusal) {
    reading.error = refusal.what();
    reading.refused = true;
  } catch (const Json::exception& error) {
    reading.error = std::string("it could not be read: ") + error.what();
    reading.refused = true;
  } catch (const std::bad_alloc&) {
    reading.error = "there is not enough memory to read it";
  }
  return reading;
}

}  // namespace brevandor
