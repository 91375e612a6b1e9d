// Browsers let a page's sound start only from a gesture of the player's. A tap counts when
// the finger lifts, which is not among the moments SDL's audio listens for, so the page
// resumes the sound itself at each gesture until it runs: a child who only taps hears the
// game too, and the menu's buttons, which wait for their click to sound, answer the tap.
['touchend', 'pointerup', 'mousedown', 'keydown'].forEach(function (gesture) {
  document.addEventListener(gesture, function () {
    var sound = Module['SDL2'] && Module['SDL2'].audioContext;
    if (sound && sound.state === 'suspended') sound.resume();
  }, true);
});
