#include "report/simulation_json.h"

#include <cmath>
#include <stdexcept>
#include <string>
#include <type_traits>

namespace brevandor {

namespace {

using Json = nlohmann::ordered_json;

const Json& memberOf(const Json& object, const std::string& path, const char* name) {
  if (!object.is_object() || !object.contains(name)) {
    throw std::invalid_argument("field \"" + path + "." + name + "\" is missing");
  }
  return object[name];
}

double numberAt(const Json& object, const std::string& path, const char* name) {
  const Json& value = memberOf(object, path, name);
  if (!value.is_number() || !std::isfinite(value.get<double>())) {
    throw std::invalid_argument("field \"" + path + "." + name + "\" should be a finite number");
  }
  return value.get<double>();
}

std::int64_t countAt(const Json& object, const std::string& path, const char* name) {
  const Json& value = memberOf(object, path, name);
  if (!value.is_number_integer() || value.get<std::int64_t>() < 0) {
    throw std::invalid_argument("field \"" + path + "." + name + "\" should be a count");
  }
  return value.get<std::int64_t>();
}

std::array<double, 2> intervalAt(const Json& object, const std::string& path, const char* name) {
  const Json& value = memberOf(object, path, name);
  if (!value.is_array() || value.size() != 2 || !value[0].is_number() || !value[1].is_number()) {
    throw std::invalid_argument("field \"" + path + "." + name + "\" should be [low, high]");
  }
  return {value[0].get<double>(), value[1].get<double>()};
}

// The fields of a point as the record holds them, in its order: `visit`(name, member).
template <typename Point, typename Visit>
void forEachPointField(Point& point, Visit&& visit) {
  visit("ebn0_db", point.ebn0Db);
  visit("frames", point.frames);
  visit("bit_errors", point.bitErrors);
  visit("frame_errors", point.frameErrors);
  visit("bits_per_frame", point.bitsPerFrame);
  visit("ber", point.ber);
  visit("fer", point.fer);
  visit("ber_ci", point.berInterval);
  visit("fer_ci", point.ferInterval);
  visit("mean_iterations", point.meanIterations);
}

Json pointJson(const SimulatedPoint& point) {
  Json json = Json::object();
  forEachPointField(point, [&](const char* name, const auto& value) { json[name] = value; });
  if (!point.complete) {
    json["complete"] = false;
  }
  return json;
}

SimulatedPoint readPoint(const Json& json, const std::string& path) {
  SimulatedPoint point;
  forEachPointField(point, [&](const char* name, auto& value) {
    using Field = std::decay_t<decltype(value)>;
    if constexpr (std::is_same_v<Field, double>) {
      value = numberAt(json, path, name);
    } else if constexpr (std::is_same_v<Field, std::int64_t>) {
      value = countAt(json, path, name);
    } else {
      value = intervalAt(json, path, name);
    }
  });
  point.complete = !json.contains("complete") || json["complete"] == true;
  return point;
}

}  // namespace

Json simulationJson(const RecordSimulation& simulation) {
  Json points = Json::array();
  for (const SimulatedPoint& point : simulation.points) {
    points.push_back(pointJson(point));
  }
  return Json{{"decoder", simulation.decoder},
              {"extrinsic_scale", simulation.extrinsicScale},
              {"iterations", simulation.iterations},
              {"early_stop", simulation.earlyStop},
              {"interleaver", simulation.interleaver},
              {"seed", simulation.seed},
              {"points", std::move(points)}};
}

RecordSimulation readSimulationJson(const Json& object) {
  const std::string path = "simulation";
  RecordSimulation simulation;
  const Json& decoder = memberOf(object, path, "decoder");
  const Json& interleaver = memberOf(object, path, "interleaver");
  const Json& seed = memberOf(object, path, "seed");
  if (!decoder.is_string() || !interleaver.is_string() || !seed.is_number_unsigned()) {
    throw std::invalid_argument(
        "field \"simulation\" should name its decoder, interleaver and "
        "seed");
  }
  simulation.decoder = decoder.get<std::string>();
  simulation.interleaver = interleaver.get<std::string>();
  simulation.seed = seed.get<std::uint64_t>();
  simulation.extrinsicScale = numberAt(object, path, "extrinsic_scale");
  simulation.iterations = static_cast<std::int32_t>(countAt(object, path, "iterations"));
  simulation.earlyStop = memberOf(object, path, "early_stop") == true;
  const Json& points = memberOf(object, path, "points");
  if (!points.is_array()) {
    throw std::invalid_argument("field \"simulation.points\" should be a list");
  }
  for (std::size_t i = 0; i < points.size(); ++i) {
    simulation.points.push_back(readPoint(points[i], path + ".points[" + std::to_string(i) + "]"));
  }
  return simulation;
}

}  // namespace brevandor
