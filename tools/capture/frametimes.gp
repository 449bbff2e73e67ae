# Plots a benchmark run written by `tessary-capture --bench --plot-data DIR`: every frame's time
# over the show, the parts shaded and labelled with their means, and the frame budget at 120 fps.
# Both renderers' runs (frames-classic.csv, frames-instanced.csv and their parts files) when
# they are there, else the one run (frames.csv, parts.csv).
# Usage: gnuplot -e "dir='DIR'; out='FILE.png'; heading='TEXT'" tools/capture/frametimes.gp
if (!exists("dir")) dir = "build/bench"
if (!exists("out")) out = "docs/frame-times.png"
if (!exists("heading")) heading = "Frame time over the show"

set terminal pngcairo size 1400,560 font "DejaVu Sans,11"
set output out
set datafile separator ","
set title heading
set xlabel "show time (s)"
set ylabel "frame time (ms)"
both = system("[ -e '".dir."/frames-instanced.csv' ] && echo 1 || echo 0") + 0
first = both ? dir."/parts-classic.csv" : dir."/parts.csv"
stats first using 2 nooutput
set xrange [0:STATS_max]
set yrange [0:25]
set xtics 10
set ytics 2
set grid ytics lc rgb "#dddddd"
set key outside bottom center horizontal

budget = 1000.0 / 120
set arrow from graph 0, first budget to graph 1, first budget nohead lc rgb "#c00000" lw 2 dt 2 front
set label sprintf("%.2f ms: 120 fps", budget) at graph 0.005, first budget + 0.5 tc rgb "#c00000" front

# Alternate shades per part; the part's name and mean frame times at the top of its span.
shade(i) = (int(i) % 2 == 0) ? 0xe8eef7 : 0xf7f0e4
if (both) {
  plot first using (($1 + $2) / 2):(12.5):(($2 - $1) / 2):(12.5):(shade($0)) \
         with boxxyerror fs solid 1.0 noborder lc rgb variable notitle, \
       dir."/frames-classic.csv" using 1:($3 + $4) with points pt 7 ps 0.15 lc rgb "#e08020" \
         title "classic renderer: frame", \
       dir."/frames-instanced.csv" using 1:($3 + $4) with points pt 7 ps 0.15 lc rgb "#3060a0" \
         title "instanced renderer: frame", \
       dir."/parts-classic.csv" using 1:4:($2 - $1):(0) with vectors nohead lw 3 lc rgb "#a04000" \
         title "mean frame, classic", \
       dir."/parts-instanced.csv" using 1:4:($2 - $1):(0) with vectors nohead lw 3 lc rgb "#102050" \
         title "mean frame, instanced", \
       "< paste -d, ".dir."/parts-classic.csv ".dir."/parts-instanced.csv | grep -v '^#'" \
         using (($1 + $2) / 2):(23.5):(sprintf("%s\n%.1f / %.1f ms", stringcolumn(3), $4, $8)) \
         with labels font ",10" notitle
} else {
  plot first using (($1 + $2) / 2):(12.5):(($2 - $1) / 2):(12.5):(shade($0)) \
         with boxxyerror fs solid 1.0 noborder lc rgb variable notitle, \
       dir."/frames.csv" using 1:($3 + $4) with points pt 7 ps 0.15 lc rgb "#3060a0" title "frame (step + finish)", \
       dir."/frames.csv" using 1:3 with points pt 7 ps 0.15 lc rgb "#e08020" title "step (issuing the GL calls)", \
       first using 1:4:($2 - $1):(0) with vectors nohead lw 3 lc rgb "#202020" \
         title "mean frame of the part", \
       first using (($1 + $2) / 2):(24):(sprintf("%s\n%.1f ms", stringcolumn(3), $4)) \
         with labels font ",10" notitle
}
