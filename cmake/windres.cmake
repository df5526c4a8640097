# windres runs the preprocessor through sh, and of the include folders it hands
# on it escapes only spaces and parentheses: a folder whose path holds an
# apostrophe (l'équipe) or another character sh reads breaks the build. So a
# resource object takes no include folders at all. The preprocessor finds the
# headers beside the .rc file by itself and windres finds its icons, bitmaps
# and manifests there too; the other folders go to the preprocessor alone,
# escaped for that shell:
#   glimmer_rc_includes(RC_FILE DIR...)
function(glimmer_rc_includes rc_file)
  foreach(dir IN LISTS ARGN)
    string(REGEX REPLACE "([][\\\\'\"$`!&;|<>*?{}~#])" "\\\\\\1" escaped "${dir}")
    set_property(SOURCE ${rc_file} APPEND PROPERTY COMPILE_OPTIONS "--preprocessor-arg=-I${escaped}")
  endforeach()
endfunction()
