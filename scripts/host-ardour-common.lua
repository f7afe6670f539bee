-- What scripts/host-ardour.lua and scripts/host-ardour-vst3.lua share: Vesmar's stepped controls,
-- the entries they set, the pass/fail count with its summary line, the session's place, making
-- the session and inserting the plug-in. Loaded with dofile; returns a
-- table.

-- Line by line: Ardour forks helpers, which would print a buffered copy of the output again.
io.stdout:setvbuf("line")

local common = {}
-- What a musician means by each stepped control: the steps from its first entry (or its lowest
-- whole value) to its last. Entry k of a control is the plug-in value k / steps.
common.steps = { [0] = 8000, [1] = 5000, [2] = 8000, [3] = 4, [4] = 100, [5] = 200, [6] = 2, [7] = 2, [8] = 22 }
common.selectors = { [3] = true, [6] = true, [7] = true }
common.count = 9

-- Sets each control through set_entry(i, k) to the entries a musician reaches first: every entry of
-- a selector; the ends, first steps and middle of the others. Pan Offset's reach narrows as Pan
-- Width grows, so width goes to 0 before offset is tried.
function common.set_every_entry(set_entry)
  local width, offset = 4, 5
  for i = 0, common.count - 1 do
    if i == offset then set_entry(width, 0) end
    local n = common.steps[i]
    local entries = common.selectors[i] and {} or { 0, 1, n // 2, n - 1, n }
    if common.selectors[i] then for k = 0, n do entries[#entries + 1] = k end end
    for _, k in ipairs(entries) do set_entry(i, k) end
  end
end
-- The entry each control is saved at: away from its default and its ends.
function common.saved_entry(i) return common.selectors[i] and 1 or common.steps[i] // 3 end

local passed, failed = 0, 0
function common.check(ok, what)
  if ok then passed = passed + 1 else failed = failed + 1; print("FAIL " .. what) end
  return ok
end
function common.near(a, b) return math.abs(a - b) < 1e-5 end
function common.finish()
  print(string.format("ardour: %d passed, %d failed", passed, failed))
  os.exit(failed == 0 and 0 or 1)
end

common.folder = assert(os.getenv("VESMAR_ARDOUR_SESSION"), "VESMAR_ARDOUR_SESSION not set")
common.name = "vesmar"

-- A new session on the Dummy backend; without one the script ends, failed.
function common.new_session()
  AudioEngine:set_backend("None (Dummy)", "", "")
  local session = create_session(common.folder, common.name, 48000)
  if not common.check(session ~= nil, "Ardour creates a session on the Dummy backend") then common.finish() end
  return session
end

-- The plug-in Ardour knows as plugin (a name or a URI) of that kind, inserted first on a new
-- stereo track: proc, insert and plugin, or nil when Ardour cannot make it.
function common.insert_on_new_track(session, track_name, plugin, kind)
  local track = session:new_audio_track(2, 2, nil, 1, track_name, ARDOUR.PresentationInfo.max_order,
    ARDOUR.TrackMode.Normal, true):front()
  local proc = ARDOUR.LuaAPI.new_plugin(session, plugin, kind, "")
  if not common.check(not proc:isnil(), "Ardour's plug-in list holds " .. plugin) then return nil end
  common.check(track:add_processor_by_index(proc, 0, nil, true) == 0, plugin .. " inserted on " .. track_name)
  local insert = proc:to_insert()
  return proc, insert, insert:plugin(0)
end

-- The first plug-in on that track ("Track" if not named) of a loaded session: proc and insert, or nil.
function common.vesmar_on(session, track_name)
  local route = session:route_by_name(track_name or "Track")
  if route:isnil() then return nil end
  local proc = route:nth_plugin(0)
  if proc:isnil() then return nil end
  return proc, proc:to_insert()
end

-- Runs the script's body; a Lua error (an API Ardour lacks, a nil it returned) is a failure too,
-- and the summary line is printed either way.
function common.run(body)
  local ok, err = pcall(body)
  common.check(ok, "script error: " .. tostring(err))
  common.finish()
end

-- The plug-in's own value: what it answers to getParameter, and what Ardour saves for it.
function common.own(insert, i) return (ARDOUR.LuaAPI.get_plugin_insert_param(insert, i, false)) end

return common
