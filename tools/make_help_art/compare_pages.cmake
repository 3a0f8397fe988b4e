# Regenerates the pay table page and requires it to equal the committed one.
# Expects TOOL, OUT and COMMITTED.
file(REMOVE_RECURSE ${OUT})
execute_process(COMMAND ${TOOL} --pages-only ${OUT} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "zelmar-make-help-art failed (${rc})")
endif()
file(SHA256 ${OUT}/payoffs.html fresh)
file(SHA256 ${COMMITTED} committed)
if(NOT fresh STREQUAL committed)
  message(FATAL_ERROR "art/help/payoffs.html no longer matches the pay table; rerun "
                      "zelmar-make-help-art")
endif()
