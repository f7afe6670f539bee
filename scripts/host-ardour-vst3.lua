-- Vesmar's VST 3 bundle on a track in Ardour, driven through Ardour's own control API as its
-- generic controls and automation lanes drive it. Run by scripts/host-ardour.sh with ardour7-lua
-- (VST3_PATH: a folder holding only the bundle); reads
--   VESMAR_ARDOUR_SESSION   folder for the session (must not exist yet)
--   VESMAR_ARDOUR_PROGRAMS  the plug-in's program names, one a line
-- Prints one line per parameter (what Ardour made of it), "FAIL ..." for every mismatch and ends
-- with "ardour: N passed, N failed".

-- Ardour shows VST 3 parameters in the plug-in's plain units: whole units from the lowest value,
-- selector entries from 0, so the steps from each control's first value to its last are the shared
-- steps.
local common = dofile(assert(os.getenv("VESMAR_ARDOUR_SCRIPTS"), "VESMAR_ARDOUR_SCRIPTS not set")
  .. "/host-ardour-common.lua")
local steps, count = common.steps, common.count
local check, near, finish, own = common.check, common.near, common.finish, common.own
local folder, name, vesmar_on = common.folder, common.name, common.vesmar_on

-- The factory programs reach Ardour through the unit's program list: Ardour offers them as
-- presets. Loading one sets the program-change parameter while Ardour holds its own lock on the
-- plug-in: the plug-in must not answer with restartComponent inside that call, or Ardour hangs.
-- Program 1 (Long Envelopes) holds Attack 2200 and Hold 2400.
local program_values = { [0] = 2200, [1] = 2400 }
local function check_programs(plugin, insert)
  local list = assert(io.open(os.getenv("VESMAR_ARDOUR_PROGRAMS") or "", "r"), "VESMAR_ARDOUR_PROGRAMS unreadable")
  local index = 0
  for label in list:read("*a"):gmatch("[^\n]+") do
    local preset = plugin:preset_by_label(label)
    if check(preset ~= nil and preset.valid, "Ardour lists program '" .. label .. "' as a preset") then
      local want = string.format("VST3%%-P:%%x+:0*%d$", index)
      check(preset.uri:match(want) ~= nil, "preset '" .. label .. "' is program " .. index .. ": " .. preset.uri)
      if index == 1 then
        print("program presets: " .. preset.uri .. " '" .. label .. "', user " .. tostring(preset.user))
        check(plugin:load_preset(preset), "Ardour loads preset '" .. label .. "'")
        -- Ardour takes the new values from the next processed block: up to a second for it.
        for _ = 1, 100 do
          if near(own(insert, 0), program_values[0]) then break end
          ARDOUR.LuaAPI.usleep(10000)
        end
        for i, want in pairs(program_values) do
          check(near(own(insert, i), want), string.format("preset '%s' param %d: %g, not %g", label, i, own(insert, i), want))
        end
      end
    end
    index = index + 1
  end
  list:close()
  check(index > 0, "programs to look for")
end

local function run()
  local session = common.new_session()
  local proc, insert, plugin = common.insert_on_new_track(session, "Track", "Vesmar", ARDOUR.PluginType.VST3)
  if not proc then finish() end
  -- The program-change parameter is the tenth; Ardour keeps it for itself and lists nine.
  if not check(plugin:parameter_count() == count, "Ardour lists " .. count .. " parameters, not "
      .. plugin:parameter_count()) then finish() end
  check_programs(plugin, insert)

  local descriptors = {}
  for i = 0, count - 1 do
    local _, t = plugin:get_parameter_descriptor(i, ARDOUR.ParameterDescriptor())
    local d = t[2]
    descriptors[i] = d
    local control = proc:to_automatable():automation_control(
      Evoral.Parameter(ARDOUR.AutomationType.PluginAutomation, 0, i), false)
    print(string.format("param %d %-17s range %g..%g step %g rangesteps %d toggled %s integer_step %s enumeration %s automatable %s",
      i, plugin:parameter_label(i), d.lower, d.upper, d.step, d.rangesteps, tostring(d.toggled),
      tostring(d.integer_step), tostring(d.enumeration), tostring(not control:isnil())))
    check(near(d.upper - d.lower, steps[i]), string.format("param %d: range %g..%g, not %d steps", i, d.lower, d.upper, steps[i]))
    check(near(d.step, 1), string.format("param %d: step %g, not 1", i, d.step))
    check(d.rangesteps == steps[i] + 1, string.format("param %d: %d range steps, not %d", i, d.rangesteps, steps[i] + 1))
    check(not d.toggled, string.format("param %d: shown as a toggle", i))
    check(plugin:parameter_is_input(i) and not control:isnil(), string.format("param %d: not an automatable input", i))
  end

  local function set_entry(i, k)
    local want = descriptors[i].lower + k
    ARDOUR.LuaAPI.set_processor_param(proc, i, want)
    return check(near(own(insert, i), want), string.format("param %d entry %d: the plug-in holds %g, not %g",
      i, k, own(insert, i), want))
  end

  common.set_every_entry(set_entry)

  -- A state to save: every parameter away from its default and its ends.
  local saved = {}
  for i = 0, count - 1 do
    set_entry(i, common.saved_entry(i))
    saved[i] = own(insert, i)
  end
  session:save_state("", false, false, false, false, false)
  -- Ardour keeps each value in plain units beside the plug-in's state chunk.
  local file = io.open(folder .. "/" .. name .. ".ardour")
  local xml = file and file:read("*a") or ""
  if file then file:close() end
  local ports = xml:match("<vst3 [^>]*>(.-)</vst3>") or ""
  check(ports:match("<chunk>") ~= nil, "the session file holds the plug-in's state chunk")
  for i = 0, count - 1 do
    local text = ports:match('<Port id="' .. i .. '" value="([^"]*)"')
    check(text ~= nil and near(tonumber(text), saved[i]),
      string.format("param %d: the session file holds %s, not %g", i, tostring(text), saved[i]))
  end
  close_session()
  session = load_session(folder, name)
  if not check(session ~= nil, "the saved session loads again") then finish() end
  proc, insert = vesmar_on(session)
  if not check(proc ~= nil, "the reloaded session has Vesmar on its track") then finish() end
  for i = 0, count - 1 do
    check(near(own(insert, i), saved[i]), string.format("param %d after reload: %g, not %g", i, own(insert, i), saved[i]))
  end
end

common.run(run)
