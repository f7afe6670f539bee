-- What scripts/host-ardour.lua and scripts/host-ardour-vst3.lua share: Vesmar's stepped controls,
-- the entries they set, the pass/fail count with its summary line, the session's place. Loaded with dofile; returns a
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

-- The plug-in's own value: what it answers to getParameter, and what Ardour saves for it.
function common.own(insert, i) return (ARDOUR.LuaAPI.get_plugin_insert_param(insert, i, false)) end

return common
