# Runs `vsthost editor` as RunVsthost.cmake does (same variables), then compares one region of the
# pictures its script's shot steps wrote, by ImageMagick's pixel signature of the cropped region.
#   -DSHOTS=a.png|b.png|...  the shot files (deleted first)
#   -DREGION=WxH+X+Y         the region compared
#   -DEXPECT_REGION=changes  at least two of the shots differ there (something moved)
#   -DEXPECT_REGION=still    all of them are the same there
#   -DIDENTIFY=path          ImageMagick's identify
string(REPLACE "|" ";" shots "${SHOTS}")
file(REMOVE ${shots})
unset(REMOVE)
unset(CREATE)
include(${CMAKE_CURRENT_LIST_DIR}/RunVsthost.cmake)

set(signatures)
foreach(shot IN LISTS shots)
  if(NOT EXISTS "${shot}")
    message(FATAL_ERROR "the shot ${shot} was not written")
  endif()
  execute_process(COMMAND "${IDENTIFY}" -format "%#" "${shot}[${REGION}]"
                  RESULT_VARIABLE rc OUTPUT_VARIABLE signature ERROR_VARIABLE err)
  if(NOT rc EQUAL 0 OR signature STREQUAL "")
    message(FATAL_ERROR "identify could not read ${shot}: ${err}")
  endif()
  message("${shot}: region ${REGION} ${signature}")
  list(APPEND signatures "${signature}")
endforeach()
list(REMOVE_DUPLICATES signatures)
list(LENGTH signatures distinct)
message("distinct pictures of the region: ${distinct}")
if(EXPECT_REGION STREQUAL "changes" AND distinct LESS 2)
  message(FATAL_ERROR "the region never changed between the shots")
elseif(EXPECT_REGION STREQUAL "still" AND NOT distinct EQUAL 1)
  message(FATAL_ERROR "the region changed between the shots")
endif()
