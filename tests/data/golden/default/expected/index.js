y_global_dir = "";
y_grup_trenner = "<hr>";
y_menframe_file = "menframe.htm";
y_firstinhalt_file = "erste.htm";
y_men_frame_nr = 0
y_content_frame_nr = 1
y_menanz = 4;

function men_init() {
y_menarray = new Array(y_menanz);
y_menarray[0] = new y_menrecord("&#220;ber &#34;uns&#34;","ueber.htm",0);
y_menarray[1] = new y_menrecord("Team","team.htm",2);
y_menarray[2] = new y_menrecord("Geschichte","geschichte.htm",2);
y_menarray[3] = new y_menrecord("<i>Neu</i> &nbsp;Kontakt","kontakt.htm",0);
}

// Menübibliothek (Testfassung)
function writemenu() {}
