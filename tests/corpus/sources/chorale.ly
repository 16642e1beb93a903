\version "2.24.0"
\header { title = "Chorale in Six Eight" }
\score {
  \new PianoStaff <<
    \new Staff \relative c'' {
      \key b \major \time 6/8 \tempo 8 = 180
      fis4 e8 dis4 cis8 | b4. r4. | <dis fis>4 <e gis>8 <fis ais>4. |
      \time 12/8 <gis b>4. <fis ais> <e gis> <dis fis> | \bar "|."
    }
    \new Staff \relative c' {
      \clef bass \key b \major \time 6/8
      b,4. fis | b,4. r | b4 cis8 dis4. | \time 12/8 e4. fis b,2. |
    }
  >>
  \midi { }
}
