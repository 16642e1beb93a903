\version "2.24.0"
\header { title = "Minor Song" }
melody = \relative c' {
  \key ees \minor
  \time 3/4
  \tempo 4 = 84
  \mark \default
  ees4 ges bes | aes2 f4 | ges4 f ees | des2. |
  \time 2/2
  \key a \minor
  \tempo 2 = 60
  \mark \default
  a2 c | e1 | d4 c b a | gis1 |
  \time 3/16
  \tempo 16 = 240
  a16 b c | b a gis | a8. |
}
words = \lyricmode {
  Fall -- ing slow -- ly in the night
  sing -- ing soft -- ly now a -- gain
}
\score {
  <<
    \new Staff \with { midiInstrument = "flute" instrumentName = "Flute" } { \melody }
    \addlyrics { \words }
    \new Staff \with { midiInstrument = "cello" instrumentName = "Cello" } {
      \clef bass \key ees \minor \time 3/4
      <ees, bes>2. | <aes, ees>2. | <ces ges>2. | <bes, f>2. |
      \key a \minor \time 2/2
      <a, e>1 | <a, e>1 | <d a>1 | <e b>1 |
      \time 3/16 a,8. | e,8. | a,8. |
    }
  >>
  \midi { }
}
