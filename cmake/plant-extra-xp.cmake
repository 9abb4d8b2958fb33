# Writes a copy of the progression source whose experience award gives one point more: a plugin
# build with a known fault, which a replay of a recording made with the real one must catch.
# Fails when the line it changes is no longer there, so the planted build never silently equals
# the real one.
file(READ ${IN} text)
set(award "Progression.XP = SaturatingAdd(Progression.XP, amount);")
string(FIND "${text}" "${award}" at)
if(at EQUAL -1)
  message(FATAL_ERROR "${IN} no longer has the line: ${award}")
endif()
string(REPLACE "${award}" "Progression.XP = SaturatingAdd(Progression.XP, amount + 1);" text
               "${text}")
file(WRITE ${OUT} "${text}")
