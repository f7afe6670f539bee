-- Vesmar on a track in Ardour, driven through Ardour's own control API as its generic controls
-- and automation lanes drive it. Run by scripts/host-ardour.sh with ardour7-lua; reads
--   VESMAR_ARDOUR_SESSION   folder for the session (must not exist yet)
--   VESMAR_ARDOUR_PROGRAMS  one line per factory program: "NAME<TAB>V0 V1 ... V8", the values as
--                           vsthost reads them from the plug-in after effSetProgram
-- Prints one line per parameter (what Ardour made of it), "FAIL ..." for every mismatch and ends
-- with "ardour: N passed, N failed".

-- What a musician means by each stepped control: the steps from its first entry (or its lowest
-- whole value) to its last. Entry k of a control is the plug-in value k / steps.
local steps = { [0] = 8000, [1] = 5000, [2] = 8000, [3] = 4, [4] = 100, [5] = 200, [6] = 2, [7] = 2, [8] = 22 }
local selectors = { [3] = true, [6] = true, [7] = true }
local count = 9

local passed, failed = 0, 0
local function check(ok, what)
  if ok then passed = passed + 1 else failed = failed + 1; print("FAIL " .. what) end
  return ok
end
local function near(a, b) return math.abs(a - b) < 1e-5 end
local function finish()
  print(string.format("ardour: %d passed, %d failed", passed, failed))
  os.exit(failed == 0 and 0 or 1)
end

local folder = assert(os.getenv("VESMAR_ARDOUR_SESSION"), "VESMAR_ARDOUR_SESSION not set")
local name = "vesmar"

-- The plug-in's own value: what it answers to getParameter, and what Ardour saves for it.
local function own(insert, i) return (ARDOUR.LuaAPI.get_plugin_insert_param(insert, i, false)) end

local function vesmar_on(session)
  local route = session:route_by_name("Track")
  if route:isnil() then return nil end
  local proc = route:nth_plugin(0)
  if proc:isnil() then return nil end
  return proc, proc:to_insert()
end

-- A Lua error (an API Ardour lacks, a nil it returned) is a failure too, with the summary line.
local function run()
  AudioEngine:set_backend("None (Dummy)", "", "")
  local session = create_session(folder, name, 48000)
  if not check(session ~= nil, "Ardour creates a session on the Dummy backend") then finish() end
  local tracks = session:new_audio_track(2, 2, nil, 1, "Track", ARDOUR.PresentationInfo.max_order,
    ARDOUR.TrackMode.Normal, true)
  local track = tracks:front()
  local proc = ARDOUR.LuaAPI.new_plugin(session, "Vesmar", ARDOUR.PluginType.LXVST, "")
  if not check(not proc:isnil(), "Ardour's plug-in list holds Vesmar (LXVST)") then finish() end
  check(track:add_processor_by_index(proc, 0, nil, true) == 0, "Vesmar inserted on the track")
  local insert = proc:to_insert()
  local plugin = insert:plugin(0)
  if not check(plugin:parameter_count() == count, "Ardour sees " .. count .. " parameters") then finish() end

  -- Factory programs as Ardour presets, by the names the plug-in gives them, while every program
  -- still holds its factory values (editing a parameter edits the current program).
  local programs = 0
  local list = assert(io.open(os.getenv("VESMAR_ARDOUR_PROGRAMS") or "", "r"), "VESMAR_ARDOUR_PROGRAMS unreadable")
  for line in list:read("*a"):gmatch("[^\n]+") do
    local label, values = line:match("^([^\t]*)\t(.*)$")
    programs = programs + 1
    local preset = plugin:preset_by_label(label)
    if check(preset ~= nil and preset.valid, "Ardour lists program '" .. label .. "' as a preset") then
      check(plugin:load_preset(preset), "Ardour loads preset '" .. label .. "'")
      local i = 0
      for v in values:gmatch("%S+") do
        check(near(own(insert, i), tonumber(v)),
          string.format("preset '%s' param %d: %.6f, not %s", label, i, own(insert, i), v))
        i = i + 1
      end
    end
  end
  list:close()
  check(programs > 0, "factory programs to load")

  -- Descriptors: every control over the plug-in's normalised 0..1, one step per entry or unit.
  local descriptors = {}
  for i = 0, count - 1 do
    local _, t = plugin:get_parameter_descriptor(i, ARDOUR.ParameterDescriptor())
    local d = t[2]
    descriptors[i] = d
    print(string.format("param %d %-17s range %g..%g step %g small %g large %g rangesteps %d toggled %s integer_step %s",
      i, plugin:parameter_label(i), d.lower, d.upper, d.step, d.smallstep, d.largestep, d.rangesteps,
      tostring(d.toggled), tostring(d.integer_step)))
    check(d.lower == 0 and d.upper == 1, string.format("param %d: range %g..%g, not 0..1", i, d.lower, d.upper))
    check(near(d.step, 1 / steps[i]), string.format("param %d: step %g, not 1/%d", i, d.step, steps[i]))
    check(d.rangesteps == steps[i] + 1, string.format("param %d: %d range steps, not %d", i, d.rangesteps, steps[i] + 1))
    check(not d.toggled, string.format("param %d: shown as a toggle", i))
  end

  -- Entry k as Ardour's control reaches it: its lower end plus k of its own steps.
  local function set_entry(i, k)
    local d = descriptors[i]
    ARDOUR.LuaAPI.set_processor_param(proc, i, d.lower + k * d.step)
    local want = k / steps[i]
    return check(near(own(insert, i), want), string.format("param %d entry %d: the plug-in holds %.6f, not %.6f",
      i, k, own(insert, i), want))
  end

  -- Pan Offset's reach narrows as Pan Width grows: its whole range is free at width 0.
  local width, offset = 4, 5
  for i = 0, count - 1 do
    if i == offset then set_entry(width, 0) end
    local entries = selectors[i] and {} or { 0, 1, steps[i] // 2, steps[i] - 1, steps[i] }
    if selectors[i] then for k = 0, steps[i] do entries[#entries + 1] = k end end
    for _, k in ipairs(entries) do set_entry(i, k) end
  end

  -- A state to save: every parameter away from its default and its ends.
  local saved = {}
  for i = 0, count - 1 do
    local k = selectors[i] and 1 or steps[i] // 3
    set_entry(i, k)
    saved[i] = k / steps[i]
  end
  session:save_state("", false, false, false, false, false)
  local file = io.open(folder .. "/" .. name .. ".ardour")
  local xml = file and file:read("*a") or ""
  if file then file:close() end
  local parameters = xml:match("<lxvst[^>]*>%s*<parameters([^>]*)/>") or ""
  for i = 0, count - 1 do
    local text = parameters:match('param%-' .. i .. '="([^"]*)"')
    check(text ~= nil and near(tonumber(text), saved[i]),
      string.format("param %d: the session file holds %s, not %.6f", i, tostring(text), saved[i]))
  end

  close_session()
  session = load_session(folder, name)
  if not check(session ~= nil, "the saved session loads again") then finish() end
  proc, insert = vesmar_on(session)
  if not check(proc ~= nil, "the reloaded session has Vesmar on its track") then finish() end
  for i = 0, count - 1 do
    check(near(own(insert, i), saved[i]),
      string.format("param %d after reload: %.6f, not %.6f", i, own(insert, i), saved[i]))
  end

end

local ok, err = pcall(run)
check(ok, "script error: " .. tostring(err))
finish()
