y_global_dir = "";
y_grup_trenner = "<hr>";
y_menframe_file = "menframe.htm";
y_firstinhalt_file = "erste.htm";
y_men_frame_nr = 1
y_content_frame_nr = 2
y_menanz = 4;

function men_init() {
y_menarray = new Array(y_menanz);
y_menarray[0] = new y_menrecord("Start","start.htm",0);
y_menarray[1] = new y_menrecord("Produkte","produkte.htm",0);
y_menarray[2] = new y_menrecord("Obst","obst.htm",2);
y_menarray[3] = new y_menrecord("Gem&#252;se","gemuese.htm",2);
}

// Menübibliothek (Testfassung)
function writemenu() {}
