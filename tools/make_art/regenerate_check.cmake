# Runs the generator twice into fresh folders, requires byte-identical output (the art is
# committed, so a rebuild must not churn it), requires that output to be the committed art (a
# committed picture the tool no longer makes, or makes differently, fails; where the bytes differ
# the pictures may still differ only by the rounding of another processor's drawing code, which
# the checker's --same allows), then runs the checker on the fresh output.
# Expects TOOL, CHECKER, OUT and ART (the repository's art folder).
file(REMOVE_RECURSE ${OUT})
foreach(run a b)
  execute_process(COMMAND ${TOOL} ${OUT}/${run} RESULT_VARIABLE rc OUTPUT_QUIET)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "zelmar-make-art failed (${rc}) writing ${OUT}/${run}")
  endif()
endforeach()
file(GLOB_RECURSE files RELATIVE ${OUT}/a ${OUT}/a/*)
list(LENGTH files count)
# 19 pictures at the design size, 28 masters at 2x and 4x, symbols_304.jpg and the four sheets
# beside the program.
if(count LESS 52)
  message(FATAL_ERROR "zelmar-make-art wrote only ${count} files")
endif()
set(problems "")
foreach(f ${files})
  file(SHA256 ${OUT}/a/${f} first)
  file(SHA256 ${OUT}/b/${f} second)
  if(NOT first STREQUAL second)
    list(APPEND problems "${f} differs between two runs of the generator")
  endif()
  if(NOT EXISTS ${ART}/${f})
    list(APPEND problems "${f} is made by the generator but not committed under art/")
  else()
    file(SHA256 ${ART}/${f} committed)
    if(NOT first STREQUAL committed)
      execute_process(COMMAND ${CHECKER} --same ${OUT}/a/${f} ${ART}/${f}
                      RESULT_VARIABLE same OUTPUT_VARIABLE how ERROR_QUIET)
      if(NOT same EQUAL 0)
        string(STRIP "${how}" how)
        list(APPEND problems "${f} as generated differs from the committed art/${f}: ${how}")
      endif()
    endif()
  endif()
endforeach()
# Every committed picture of the folders the generator writes is one it makes.
file(GLOB committed RELATIVE ${ART} ${ART}/main/*.jpg ${ART}/main/*.png ${ART}/beside/*.jpg)
foreach(f ${committed})
  if(NOT EXISTS ${OUT}/a/${f})
    list(APPEND problems "art/${f} is committed but the generator no longer makes it")
  endif()
endforeach()
if(problems)
  list(JOIN problems "\n  " text)
  message(FATAL_ERROR "the generated art does not match:\n  ${text}\n"
                      "Rebuild it with QT_QPA_PLATFORM=offscreen zelmar-make-art and commit it.")
endif()
execute_process(COMMAND ${CHECKER} ${OUT}/a RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "freshly generated art fails the checks")
endif()
