# Dates the demo photo with one template through imprix-batch and keeps the copy as NAME.jpg.
#   cmake -DBATCH=... -DTEMPLATE=.../Name.tpl -DPHOTO=demo.jpg -DOUT=.../gallery/Name.jpg -P MakeGalleryPicture.cmake
get_filename_component(out_dir ${OUT} DIRECTORY)
get_filename_component(name ${OUT} NAME_WE)
set(work ${out_dir}/work-${name})
file(REMOVE_RECURSE ${work})
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
          ${BATCH} --template ${TEMPLATE} --out-dir ${work} --jobs 1 ${PHOTO}
  RESULT_VARIABLE result OUTPUT_QUIET ERROR_VARIABLE errors)
file(GLOB made ${work}/*)
list(LENGTH made count)
if(NOT result EQUAL 0 OR NOT count EQUAL 1)
  message(FATAL_ERROR "imprix-batch could not date the demo photo with ${TEMPLATE}: ${errors}")
endif()
file(RENAME ${made} ${OUT})
file(REMOVE_RECURSE ${work})
