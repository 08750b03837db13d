# Every target of ours gets the same strict warnings. Floating-point contraction is off everywhere,
# third-party code included, so that no fused multiply-add changes a sample or a pixel between builds.
if(MSVC)
  add_compile_options(/fp:precise /fp:contract-)
  set(LUMETRA_WARNINGS /W4 /WX /permissive-)
else()
  add_compile_options(-ffp-contract=off)
  set(LUMETRA_WARNINGS -Wall -Wextra -Werror)
endif()

if(WIN32)
  add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00)
  if(MINGW)
    # One self-contained executable: no runtime DLLs to ship beside it.
    add_link_options(-static -static-libgcc -static-libstdc++)
  endif()
endif()

if(LUMETRA_SANITIZE AND NOT MSVC)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

function(lumetra_target_options target)
  target_compile_options(${target} PRIVATE ${LUMETRA_WARNINGS})
endfunction()
