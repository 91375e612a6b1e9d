# Fills CORPUS/<target> with seeds: shipped files from RUNTIME (the build folder the game
# runs from) and the handmade files of SEEDS/<target>. Run with cmake -P.
function(seed target)
  file(MAKE_DIRECTORY ${CORPUS}/${target})
  foreach(pattern IN LISTS ARGN)
    file(GLOB files ${RUNTIME}/${pattern})
    foreach(path IN LISTS files)
      get_filename_component(stem ${path} NAME)
      get_filename_component(folder ${path} DIRECTORY)
      get_filename_component(folder ${folder} NAME)
      file(COPY_FILE ${path} ${CORPUS}/${target}/${folder}_${stem} ONLY_IF_DIFFERENT)
    endforeach()
  endforeach()
  file(GLOB handmade ${SEEDS}/${target}/*)
  foreach(path IN LISTS handmade)
    get_filename_component(name ${path} NAME)
    file(COPY_FILE ${path} ${CORPUS}/${target}/seed_${name} ONLY_IF_DIFFERENT)
  endforeach()
endfunction()

seed(picture_file game/big/*.tga game/small/*.tga)
seed(wave snd/sfx/*.wav)
seed(ogg snd/sfx/*.ogg snd/music/*.ogg)
seed(picture_decode img/ico/*.png img/bg/*.png game/small/*.tga)
seed(ini setup.ini)
seed(tar)
seed(settings)
seed(grown_ups)

# An archive of a few shipped files under the names the tar target looks up.
set(stage ${CORPUS}/stage)
file(REMOVE_RECURSE ${stage})
file(MAKE_DIRECTORY ${stage}/packed/game ${stage}/packed/snd)
file(COPY_FILE ${RUNTIME}/setup.ini ${stage}/packed/setup.ini)
file(COPY_FILE ${RUNTIME}/game/small/1.tga ${stage}/packed/game/1.tga)
file(COPY_FILE ${RUNTIME}/snd/sfx/click.ogg ${stage}/packed/snd/click.ogg)
execute_process(
  COMMAND ${CMAKE_COMMAND} -E tar cf ${CORPUS}/tar/shipped.tar --format=gnutar
          packed/setup.ini packed/game/1.tga packed/snd/click.ogg
  WORKING_DIRECTORY ${stage}
  COMMAND_ERROR_IS_FATAL ANY)
file(REMOVE_RECURSE ${stage})
