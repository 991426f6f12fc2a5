// Script text for tests that check many values from one Lua chunk: run it
// first, then call expect(label, got, want) in the chunks; the table
// "failures" collects every mismatch, so one test reads them all.
#pragma once

const char* const kLuaExpect = R"lua(
failures = {}
function expect(label, got, want)
    if got ~= want then
        table.insert(failures, label .. ": got " .. tostring(got) .. ", want " .. tostring(want))
    end
end
)lua";
