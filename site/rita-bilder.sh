#!/usr/bin/env bash
# Draws every image of the demo site (symbols, flags, tabs, county maps and
# the invented customers' pictures) into site/www. The results are committed,
# so the demo does not need this script; run it again after changing it.
# Needs ImageMagick's convert (Debian package imagemagick) and the DejaVu
# fonts (fonts-dejavu-core).
set -euo pipefail
cd "$(dirname "$0")/www"
C=${CONVERT:-/usr/bin/convert}
F=DejaVu-Sans
FB=DejaVu-Sans-Bold
gif() { local ut="${*: -1}"; "$C" "${@:1:$#-1}" -strip "$ut"; }
mkdir -p bilder2/bakgrund bilder2/symbol/e bilder2/symbol/d bilder2/diverse bilder2/kunder \
  images/symbols images/maps/facts bilder2/kund/fakta/e bilder2/kund/fakta/d csslib

# Site logo and the page background.
gif -size 220x48 xc:'#6b2d10' -fill '#f1e6cc' -font "$FB" -pointsize 15 -gravity west -annotate +10+0 'Möten & Evenemang' \
  -fill '#e2cf9f' -draw 'circle 203,24 211,24' bilder2/logo.png
gif -size 120x120 xc:'#fdfaf3' -fill '#f7f0e0' -draw 'circle 60,60 60,20' -fill '#fdfaf3' -draw 'circle 60,60 60,34' bilder2/bakgrund/qvlogo.gif

# Capacity symbols, 20 x 20.
sym() { gif -size 20x20 xc:"$2" -fill white -font "$FB" -pointsize "${4:-12}" -gravity center -annotate +0+0 "$3" "bilder2/symbol/$1.gif"; }
sym maxbio '#2f5d8a' 'K'
sym baddar '#6b4a8a' 'B'
sym rum '#4a7a4a' 'R'
sym rest '#a0522d' 'M'
sym banquet '#8a2f5d' 'F'
sym aktiv '#c07a00' 'A'
# Free conference room and free room with beds, 11 x 11.
gif -size 11x11 xc:'#3a8a3a' bilder2/symbol/ledigt.gif
gif -size 11x11 xc:'#3a8a3a' -fill '#1d3f7a' -draw 'polygon 0,10 10,0 10,10' bilder2/symbol/ledigtnatt.gif
# Membership, classification and certification symbols.
gif -size 70x20 xc:'#1d3f7a' -fill white -font "$FB" -pointsize 11 -gravity center -annotate +0+0 'MEDLEM' bilder2/symbol/visitalogo.gif
for n in 1 2 3 4 5; do
  w=$((n * 17))
  args=()
  for ((i = 0; i < n; i++)); do x=$((i * 17 + 8)); args+=(-draw "polygon $x,1 $((x+2)),6 $((x+7)),6 $((x+3)),10 $((x+5)),15 $x,12 $((x-5)),15 $((x-3)),10 $((x-7)),6 $((x-2)),6"); done
  gif -size ${w}x17 xc:none -fill '#e0a800' "${args[@]}" "bilder2/symbol/stars17_$n.gif"
done
gif -size 9x20 xc:'#5a2a82' -fill white -draw 'rectangle 3,4 5,15' bilder2/symbol/homerun.gif
gif -size 42x20 xc:'#0a6a6a' -fill white -font "$FB" -pointsize 9 -gravity center -annotate +0+0 'TILLG.' bilder2/symbol/equality.gif
gif -size 20x20 xc:'#b22222' -fill white -font "$FB" -pointsize 9 -gravity center -annotate +0+0 'P10' images/symbols/porrfritt.gif
gif -size 20x20 xc:'#d2691e' -fill white -font "$FB" -pointsize 9 -gravity center -annotate +0+0 'P05' images/symbols/roks.gif
gif -size 95x23 xc:'#003366' -fill white -font "$FB" -pointsize 11 -gravity center -annotate +0+0 'AVTALSPRIS' bilder2/diverse/ericsson.gif
for b in anmald finalist 1pris 2pris 3pris; do
  gif -size 90x40 xc:'#7b3fa0' -fill white -font "$FB" -pointsize 11 -gravity center -annotate +0+0 "Ametist\n$b" "images/symbols/aretsametist_$b.gif"
done

# Language flags, 20 x 12.
gif -size 20x12 xc:'#006aa7' -fill '#fecc00' -draw 'rectangle 6,0 8,11' -draw 'rectangle 0,5 19,6' images/symbols/flagga_s.gif
gif -size 20x12 xc:'#012169' -stroke white -strokewidth 2 -draw 'line 0,0 19,11' -draw 'line 0,11 19,0' -stroke none \
  -fill white -draw 'rectangle 8,0 11,11' -draw 'rectangle 0,4 19,7' -fill '#c8102e' -draw 'rectangle 9,0 10,11' -draw 'rectangle 0,5 19,6' images/symbols/flagga_e.gif
gif -size 20x12 xc:black -fill '#dd0000' -draw 'rectangle 0,4 19,7' -fill '#ffce00' -draw 'rectangle 0,8 19,11' images/symbols/flagga_d.gif

# Per language: the tip badge, the month strip of the opening months.
for l in s e d; do
  case $l in
    s) dir=bilder2/symbol; tips='Månadens tips'; oppet='Öppet'; hela='Hela året' ;;
    e) dir=bilder2/symbol/e; tips='Tip of the month'; oppet='Open'; hela='All year' ;;
    d) dir=bilder2/symbol/d; tips='Tipp des Monats'; oppet='Geöffnet'; hela='Ganzjährig' ;;
  esac
  gif -size 100x40 xc:'#c0392b' -fill '#fff3c4' -font "$FB" -pointsize 12 -gravity center -annotate +0+0 "$tips" "$dir/tips.gif"
  gif -background '#f1e6cc' -fill '#6b2d10' -font "$FB" -pointsize 9 label:"$oppet " -resize x11! "$dir/oppet.gif"
  gif -background '#3a8a3a' -fill white -font "$FB" -pointsize 9 label:" $hela " -resize x11! "$dir/helaaret.gif"
  m=1
  for bokstav in J F M A M J J A S O N D; do
    gif -size 11x11 xc:'#3a8a3a' -fill white -font "$FB" -pointsize 9 -gravity center -annotate +0+0 "$bokstav" "$dir/man$m.gif"
    gif -size 11x11 xc:'#dddddd' -fill '#999999' -font "$F" -pointsize 9 -gravity center -annotate +0+0 "$bokstav" "$dir/man${m}ej.gif"
    m=$((m + 1))
  done
done

# Tabs, 76 x 24: selected (flikX.gif), as a link (flikXej.gif), empty place.
for l in s e d; do
  case $l in s) dir=bilder2/kund/fakta ;; e) dir=bilder2/kund/fakta/e ;; d) dir=bilder2/kund/fakta/d ;; esac
  while IFS='|' read -r kod sv en de; do
    case $l in s) t=$sv ;; e) t=$en ;; d) t=$de ;; esac
    gif -size 76x24 xc:none -fill '#6b2d10' -draw 'roundrectangle 1,2 74,30 6,6' -fill '#fbf6ea' -font "$FB" -pointsize 10 \
      -gravity center -annotate +0+2 "$t" "$dir/flik$kod.gif"
    gif -size 76x24 xc:none -fill '#e2cf9f' -draw 'roundrectangle 1,4 74,30 6,6' -fill '#6b2d10' -font "$F" -pointsize 10 \
      -gravity center -annotate +0+3 "$t" "$dir/flik${kod}ej.gif"
  done <<'TABS'
kund|Allmänt|General|Allgemein
konf|Konferens|Conference|Konferenz
logi|Logi|Rooms|Zimmer
rfst|Restaurang|Restaurant|Restaurant
aktv|Aktiviteter|Activities|Aktivitäten
wend|Weekend|Weekend|Wochenende
julb|Julbord|Christmas|Weihnachten
undh|Underhållning|Entertain|Unterhaltung
fdag|Föredrag|Lectures|Vorträge
bokn|Bokning|Booking|Buchung
blev|Leverantör|Supplier|Lieferant
spok|Spöken|Ghosts|Gespenster
udda|Udda rum|Odd rooms|Besondere
TABS
  gif -size 76x24 xc:none -fill '#e2cf9f' -draw 'line 0,23 75,23' "$dir/flikingen.gif"
done

# County maps: an outline of Sweden with the county marked.
while IFS='|' read -r kod x y namn; do
  gif -size 90x200 xc:'#dbe9f5' -fill '#f4efe1' -stroke '#8a7a5a' \
    -draw 'polygon 52,4 70,10 78,30 66,60 60,92 58,118 50,140 44,160 40,184 30,196 20,188 24,164 18,140 28,118 34,92 40,60 44,30' \
    -stroke none -fill '#c0392b' -draw "circle $x,$y $((x + 5)),$y" \
    -fill '#333333' -font "$F" -pointsize 8 -gravity south -annotate +0+2 "$namn" "images/maps/facts/se$kod.gif"
done <<'LAN'
01|48|132|Stockholm
03|44|124|Uppsala
04|40|140|Södermanland
05|36|152|Östergötland
06|30|162|Jönköping
07|30|174|Kronoberg
08|40|170|Kalmar
09|52|160|Gotland
10|34|184|Blekinge
12|24|190|Skåne
13|22|172|Halland
14|24|152|Västra Götaland
17|28|126|Värmland
18|34|134|Örebro
19|40|130|Västmanland
20|36|114|Dalarna
21|44|108|Gävleborg
22|50|90|Västernorrland
23|44|76|Jämtland
24|60|60|Västerbotten
25|64|26|Norrbotten
LAN

# The customers' pictures, 320 x 200 (logos 160 x 50, small pictures 120 x 80).
scen() { # name sky ground kind caption
  local ut=bilder2/kunder/$1.png figur
  case $4 in
    hus) figur=(-fill '#a23b2a' -draw 'rectangle 110,90 230,160' -fill '#4a2a1a' -draw 'polygon 100,92 170,50 240,92' -fill '#f4e7b0' -draw 'rectangle 130,110 150,130' -draw 'rectangle 190,110 210,130' -fill '#5a3a2a' -draw 'rectangle 162,125 178,160') ;;
    fjall) figur=(-fill '#7a8a9a' -draw 'polygon 20,160 120,40 220,160' -fill white -draw 'polygon 95,70 120,40 145,70 130,64 120,72 110,64' -fill '#5a6a7a' -draw 'polygon 150,160 230,70 310,160') ;;
    hav) figur=(-fill '#2f6a9a' -draw 'rectangle 0,120 320,200' -fill white -draw 'polygon 140,118 160,70 160,118' -fill '#8a4a2a' -draw 'polygon 120,120 200,120 190,132 130,132') ;;
    scen) figur=(-fill '#5a1a2a' -draw 'rectangle 30,40 290,170' -fill '#f4e7b0' -draw 'ellipse 160,150 70,12 0,360' -fill '#222222' -draw 'circle 160,110 160,95' -draw 'rectangle 150,118 170,150') ;;
    bord) figur=(-fill '#8a5a2a' -draw 'rectangle 40,120 280,135' -fill white -draw 'ellipse 90,116 22,6 0,360' -draw 'ellipse 160,116 22,6 0,360' -draw 'ellipse 230,116 22,6 0,360' -fill '#c0392b' -draw 'circle 160,80 160,70') ;;
    teknik) figur=(-fill '#333333' -draw 'rectangle 60,60 130,160' -draw 'rectangle 190,60 260,160' -fill '#888888' -draw 'circle 95,90 95,75' -draw 'circle 95,135 95,125' -draw 'circle 225,90 225,75' -draw 'circle 225,135 225,125') ;;
    karta) figur=(-fill '#f4efe1' -draw 'rectangle 0,0 320,200' -fill '#9ac0e0' -draw 'ellipse 80,140 90,50 0,360' -stroke '#c0392b' -strokewidth 4 -draw 'line 320,30 200,90' -draw 'line 200,90 150,110' -stroke none -fill '#c0392b' -draw 'circle 150,110 150,100') ;;
    *) figur=() ;;
  esac
  gif -size 320x200 gradient:"$2"-'#ffffff' -fill "$3" -draw 'rectangle 0,160 320,200' "${figur[@]}" \
    -fill '#00000080' -draw 'rectangle 0,176 320,200' -fill white -font "$FB" -pointsize 14 -gravity southwest -annotate +8+4 "$5" \
    -colors 48 "$ut"
}
logo() { gif -size 160x50 xc:"$2" -fill white -font "$FB" -pointsize 13 -gravity center -annotate +0+0 "$3" "bilder2/kunder/$1.png"; }
mini() { gif -size 120x80 gradient:"$2"-'#ffffff' -fill "$3" -draw 'rectangle 0,60 120,80' -fill '#4a2a1a' -draw 'polygon 30,60 60,30 90,60' -colors 32 "bilder2/kunder/$1.png"; }

scen herrgard '#9cc7e8' '#6a9a4a' hus 'Sjöviks Herrgård'
mini herrgard_mini '#9cc7e8' '#6a9a4a'
logo logo_sjovik '#1d3f7a' 'Sjöviks Herrgård'
logo logo_kedja '#2f6a9a' 'Sjöstugekedjan'
scen karta_sjovik '#f4efe1' '#f4efe1' karta 'Vägbeskrivning till Ålviken'
scen konferens '#e8e0d0' '#b09070' bord 'Magasinet'
scen hotell '#f0d8a8' '#8a6a4a' hus 'Rummen i flygeln'
scen restaurang '#f5e0c0' '#7a4a2a' bord 'Restaurangen'
scen kajak '#a8d0f0' '#2f6a9a' hav 'Paddling i skärgården'
scen weekend '#e0c8e8' '#6a9a4a' hus 'Skärgårdshelg'
scen julbord '#1a2a4a' '#f4f4f4' bord 'God jul!'
scen stall '#c8d8e8' '#8a7a5a' hus 'Stallgården'
scen fjall '#8ab8e8' '#f8f8f8' fjall 'Åreskutan'
mini fjall_mini '#8ab8e8' '#f8f8f8'
logo logo_fjallstugan '#3a6a8a' 'Fjällstugan'
scen kongress '#d0d8e0' '#707880' scen 'Kvarnsalen'
scen magasin '#b8d8f0' '#2f6a9a' hav 'Hamnen i Ystad'
scen torp '#c8e0f0' '#5a8a3a' hus 'Det röda torpet'
scen vandrarhem '#b8d0e8' '#5a8a3a' hus 'Tallbacken vid Siljan'
scen norrsken '#0a1a3a' '#e8f0f8' fjall 'Norrsken över Kiruna'
logo logo_norrsken '#0a1a3a' 'Norrskenet'
scen strand '#a8d8f8' '#e8d8a0' hav 'Stranden i Halmstad'
scen restaurang2 '#e8c8a0' '#6a3a1a' bord 'Kopparkitteln'
scen fest '#402040' '#8a5a2a' bord 'Festvåningen'
scen villa '#f0e8a0' '#6a9a4a' hus 'Gula Villan'
scen krog '#a8c8e8' '#2f6a9a' hav 'Ankaret i Vaxholm'
scen forsranning '#98c8e8' '#2f5a7a' hav 'Klarälven'
scen dragspel '#e0a060' '#5a1a2a' scen 'Dragspelsdrömmar'
scen trollkarl '#301040' '#5a1a2a' scen 'Magnus Ödman'
scen scen '#402030' '#5a1a2a' scen 'Ögonblick'
scen forelasare '#d8d8e8' '#707880' scen 'Karin Åberg'
scen slott '#b8c8e0' '#6a8a4a' hus 'Slottskrogen'
scen bat '#98b8d8' '#2f5a7a' hav 'Ångbåten Ejdern'
scen bohuslan '#a8d0f0' '#8a7a7a' hav 'Bohusläns klippor'
scen spa '#e8d8f0' '#8ab88a' hus 'Ängsbacka spa'
scen byra '#e8e8e8' '#1d3f7a' bord 'Konferensbokarna'
logo logo_byra '#1d3f7a' 'Konferensbokarna'
scen prastgard '#c8d8e8' '#6a9a4a' hus 'Prästgården Vreta'
scen teknik '#202020' '#404040' teknik 'Ljud & Ljus'
scen tryckeri '#e0e0e0' '#8a8a8a' teknik 'Pappersbruket'
scen fjord '#98c0e0' '#2f4a6a' fjall 'Fjorden vid Bergen'
scen gasthaus '#c8e0c8' '#5a8a3a' hus 'Gasthaus Sonnenhügel'
scen gard '#c8e0f0' '#8a9a3a' hus 'Ödegården'
echo "images drawn in $(pwd)"
