#include "tools/vsthost/host/lv2/Lv2World.h"

#include <algorithm>
#include <filesystem>

#include <lv2/atom/atom.h>
#include <lv2/core/lv2.h>
#include <lv2/midi/midi.h>
#include <lv2/presets/presets.h>

namespace {
// A node owned by the world's lifetime.
struct Node {
    LilvNode* node;
    Node(LilvWorld* world, const char* uri) : node(lilv_new_uri(world, uri)) {}
    ~Node() { lilv_node_free(node); }
    Node(const Node&) = delete;
    Node& operator=(const Node&) = delete;
    operator const LilvNode*() const { return node; }
};

std::string NodeText(LilvNode* node) {
    std::string text = node ? lilv_node_as_string(node) : "";
    lilv_node_free(node);
    return text;
}

float NodeFloat(LilvNode* node, float fallback) {
    const float value =
        node && (lilv_node_is_float(node) || lilv_node_is_int(node)) ? lilv_node_as_float(node) : fallback;
    lilv_node_free(node);
    return value;
}
}  // namespace

struct Lv2World::Nodes {
    explicit Nodes(LilvWorld* w)
        : input(w, LV2_CORE__InputPort),
          control(w, LV2_CORE__ControlPort),
          audio(w, LV2_CORE__AudioPort),
          atom(w, LV2_ATOM__AtomPort),
          integer(w, LV2_CORE__integer),
          toggled(w, LV2_CORE__toggled),
          enumeration(w, LV2_CORE__enumeration),
          optional(w, LV2_CORE__connectionOptional),
          designation(w, LV2_CORE__designation),
          controlDesignation(w, LV2_CORE__control),
          supports(w, LV2_ATOM__supports),
          midiEvent(w, LV2_MIDI__MidiEvent),
          preset(w, LV2_PRESETS__Preset) {}
    Node input, control, audio, atom, integer, toggled, enumeration, optional, designation,
        controlDesignation, supports, midiEvent, preset;
};

Lv2World::Lv2World() : world_(lilv_world_new()), nodes_(new Nodes(world_)) {}

Lv2World::~Lv2World() {
    delete nodes_;
    lilv_world_free(world_);
}

bool Lv2World::LoadBundle(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(std::filesystem::path(path) / "manifest.ttl", error)) return false;
    std::string dir = std::filesystem::absolute(path, error).string();
    if (dir.empty() || dir.back() != '/') dir += '/';
    LilvNode* uri = lilv_new_file_uri(world_, nullptr, dir.c_str());
    lilv_world_load_bundle(world_, uri);
    lilv_node_free(uri);
    return true;
}

const LilvPlugin* Lv2World::Plugin(const std::string& uri) const {
    LilvNode* node = lilv_new_uri(world_, uri.c_str());
    const LilvPlugin* plugin = lilv_plugins_get_by_uri(lilv_world_get_all_plugins(world_), node);
    lilv_node_free(node);
    return plugin;
}

std::vector<Lv2PortInfo> Lv2World::Ports(const LilvPlugin* plugin) const {
    std::vector<Lv2PortInfo> ports;
    const uint32_t count = lilv_plugin_get_num_ports(plugin);
    for (uint32_t i = 0; i < count; ++i) {
        const LilvPort* port = lilv_plugin_get_port_by_index(plugin, i);
        Lv2PortInfo info;
        info.index = i;
        info.symbol = lilv_node_as_string(lilv_port_get_symbol(plugin, port));
        info.name = NodeText(lilv_port_get_name(plugin, port));
        info.input = lilv_port_is_a(plugin, port, nodes_->input);
        info.kind = lilv_port_is_a(plugin, port, nodes_->control) ? Lv2PortInfo::Kind::Control
                    : lilv_port_is_a(plugin, port, nodes_->audio) ? Lv2PortInfo::Kind::Audio
                    : lilv_port_is_a(plugin, port, nodes_->atom)  ? Lv2PortInfo::Kind::Atom
                                                                  : Lv2PortInfo::Kind::Other;
        info.optional = lilv_port_has_property(plugin, port, nodes_->optional);
        LilvNodes* designations = lilv_port_get_value(plugin, port, nodes_->designation);
        info.controlDesignation =
            designations && lilv_nodes_contains(designations, nodes_->controlDesignation);
        lilv_nodes_free(designations);
        info.midi = lilv_port_supports_event(plugin, port, nodes_->midiEvent);
        if (info.kind == Lv2PortInfo::Kind::Control) ReadControlRange(plugin, port, info);
        ports.push_back(std::move(info));
    }
    return ports;
}

void Lv2World::ReadControlRange(const LilvPlugin* plugin, const LilvPort* port, Lv2PortInfo& info) const {
    LilvNode *def = nullptr, *min = nullptr, *max = nullptr;
    lilv_port_get_range(plugin, port, &def, &min, &max);
    info.minimum = NodeFloat(min, 0.0f);
    info.maximum = NodeFloat(max, 1.0f);
    info.defaultValue = NodeFloat(def, info.minimum);
    info.integer = lilv_port_has_property(plugin, port, nodes_->integer);
    info.toggled = lilv_port_has_property(plugin, port, nodes_->toggled);
    info.enumeration = lilv_port_has_property(plugin, port, nodes_->enumeration);
    LilvScalePoints* points = lilv_port_get_scale_points(plugin, port);
    LILV_FOREACH(scale_points, it, points) {
        const LilvScalePoint* point = lilv_scale_points_get(points, it);
        info.scalePoints.emplace_back(lilv_node_as_float(lilv_scale_point_get_value(point)),
                                      lilv_node_as_string(lilv_scale_point_get_label(point)));
    }
    lilv_scale_points_free(points);
    std::sort(info.scalePoints.begin(), info.scalePoints.end());
}

std::vector<std::string> Lv2World::Presets(const LilvPlugin* plugin) {
    std::vector<std::string> uris;
    LilvNodes* presets = lilv_plugin_get_related(plugin, nodes_->preset);
    LILV_FOREACH(nodes, it, presets) {
        const LilvNode* preset = lilv_nodes_get(presets, it);
        lilv_world_load_resource(world_, preset);
        uris.emplace_back(lilv_node_as_uri(preset));
    }
    lilv_nodes_free(presets);
    std::sort(uris.begin(), uris.end());
    return uris;
}
